#include "catalogue/angleheads.h"

#include "catalogue/ratings.h"
#include "window/form1.h"

namespace veldrune {

namespace {

const std::array<AngleHead, 5> Heads = {{
    {QStringLiteral("RH1"),
     {QStringLiteral("55.000"), QStringLiteral("5.6084"), QStringLiteral("560.84"),
      QStringLiteral("40.566"), QStringLiteral("486.79")}},
    {QStringLiteral("RH2"),
     {QStringLiteral("130.00"), QStringLiteral("13.256"), QStringLiteral("1325.6"),
      QStringLiteral("95.884"), QStringLiteral("1150.6")}},
    {QStringLiteral("RH3"),
     {QStringLiteral("250.00"), QStringLiteral("25.493"), QStringLiteral("2549.3"),
      QStringLiteral("184.39"), QStringLiteral("2212.7")}},
    {QStringLiteral("RH4"),
     {QStringLiteral("380.00"), QStringLiteral("38.749"), QStringLiteral("3874.9"),
      QStringLiteral("280.27"), QStringLiteral("3363.3")}},
    {QStringLiteral("RH5"),
     {QStringLiteral("550.00"), QStringLiteral("56.084"), QStringLiteral("5608.4"),
      QStringLiteral("405.66"), QStringLiteral("4868.0")}},
}};

struct Fit {
    const char16_t* prefix;
    std::initializer_list<const char16_t*> heads;
};

const Fit Fits[] = {
    {u"KRV-110", {u"RH1"}},         {u"KRV-210", {u"RH1"}},         {u"KRV-290", {u"RH1"}},
    {u"KRV-410", {u"RH1"}},         {u"KRV-810", {u"RH2"}},         {u"KRV-140", {u"RH3"}},
    {u"KRV-220", {u"RH3", u"RH4"}}, {u"KRV-320", {u"RH4", u"RH5"}}, {u"PZS-520", {u"RH5"}},
};

} // namespace

const AngleHead* FindAngleHead(const QString& name) {
    for (const AngleHead& head : Heads) {
        if (head.name == name)
            return &head;
    }
    return nullptr;
}

QStringList HeadsForModel(const QString& model) {
    const QString prefix = model.left(7);
    for (const Fit& fit : Fits) {
        if (prefix == QStringView(fit.prefix)) {
            QStringList heads;
            for (const char16_t* head : fit.heads)
                heads.append(QString::fromUtf16(head));
            return heads;
        }
    }
    return {};
}

void ANGLEHEAD(Form1& form, const ToolTable& tools, std::int16_t TOOLTYPE) {
    form.ANGLE.clear();
    form.ANGLE.addItem(NoAngleHead);
    for (const QString& head : HeadsForModel(tools[TOOLTYPE].Model))
        form.ANGLE.addItem(head);
    form.ANGLE.setListIndex(0);
}

void AngleClick(Form1& form, const ToolTable& tools, ToolSelection& selection,
                const Recalculate& recalculate) {
    ShowToolRatings(form, tools, selection);
    recalculate();
}

} // namespace veldrune
