#include "report/captions.h"

#include "numbers/textvalue.h"
#include "platform/ansitext.h"
#include "platform/fieldreader.h"
#include "platform/platform.h"
#include "report/languagefont.h"
#include "window/form1.h"

namespace veldrune {

namespace {

// The control a key names, by name and index, and the mode caption it sets as well, if any.
struct KeyAction {
    int key;
    const char* control; // nullptr: the mode caption alone
    int index;
    int modeCaption; // -1: none
};

const KeyAction Actions[] = {
    {2, "Label13", -1, -1},  {3, "Label1", -1, -1},     {4, "Label2", 0, -1},
    {5, "Label2", 1, -1},    {6, "Frame1", -1, -1},     {7, "Label5", 0, -1},
    {8, "Label5", 1, -1},    {9, "Label5", 2, -1},      {10, "Label5", 3, -1},
    {11, "Label5", 4, -1},   {12, "Frame2", -1, -1},    {13, "Option1", 0, -1},
    {14, "Option1", 1, -1},  {15, "Label7", -1, -1},    {16, "Label8", -1, -1},
    {17, "Label9", -1, -1},  {18, "Label6", -1, -1},    {19, "Label10", 0, -1},
    {20, "Label11", 0, -1},  {21, "Label11", 2, 15},    {22, "Label10", 1, -1},
    {23, "Label10", 2, -1},  {24, "Label11", 1, -1},    {25, "Label11", 3, -1},
    {26, "Label10", 3, -1},  {27, "Label10", 4, 12},    {28, "Label10", 5, 13},
    {29, "Label10", 7, 14},  {30, "Label10", 8, -1},    {31, "Label10", 6, -1},
    {32, "Label10", 11, -1}, {33, "Label14", -1, -1},   {34, "Label10", 9, -1},
    {35, "Label10", 10, -1}, {36, "PREVILING", -1, -1}, {40, nullptr, -1, 0},
    {41, nullptr, -1, 1},    {42, nullptr, -1, 2},      {43, nullptr, -1, 3},
    {44, nullptr, -1, 4},    {45, nullptr, -1, 5},      {46, nullptr, -1, 6},
    {47, nullptr, -1, 7},    {50, "Frame3", -1, -1},    {51, "Label16", -1, -1},
    {52, "Label18", -1, -1}, {53, "Label20", -1, -1},   {54, "Label21", -1, -1},
    {55, nullptr, -1, 8},    {56, nullptr, -1, 9},      {57, nullptr, -1, 10},
    {58, "Label22", -1, -1}, {59, nullptr, -1, 16},
};

} // namespace

void StoreDefaultModeCaptions(ModeCaptions& captions) {
    const char* defaults[] = {"PRESS TIME",   "PRESS LENGTH",    "PRESS SPEED",
                              "RETURN SPEED", "TIGHTENING TIME", "TIGHTENING ANGLE",
                              "TORQUE SPEED", "REVOLUTIONS",     "DISTANCE"};
    for (int i = 0; i < 9; ++i)
        captions[8 + i] = QString::fromLatin1(defaults[i]);
}

CaptionReading ApplyCaptionText(const QString& text, Form1& form, ModeCaptions& captions,
                                const std::function<void()>& languageFont) {
    CaptionReading reading;
    FieldReader records(text);
    while (!records.atEnd()) {
        const auto record = records.next();
        if (!record)
            break;
        if (record->isEmpty() || record->startsWith(u'\''))
            continue;
        // The key runs to the first tab, the text from there to the second.
        const qsizetype firstTab = record->indexOf(u'\t');
        const QString keyText = firstTab < 0 ? *record : record->left(firstTab);
        QString caption;
        if (firstTab >= 0) {
            const qsizetype secondTab = record->indexOf(u'\t', firstTab + 1);
            caption = secondTab < 0 ? record->mid(firstTab + 1)
                                    : record->mid(firstTab + 1, secondTab - firstTab - 1);
        }
        const auto key = RoundInt16(TextValue(keyText));
        if (!key) {
            reading.stopped = true;
            return reading;
        }
        ++reading.applied;
        if (*key == 0) {
            if (languageFont)
                languageFont();
        } else if (*key == 1) {
            form.setCaption(caption);
        }
        for (const KeyAction& action : Actions) {
            if (action.key != *key)
                continue;
            if (action.control)
                form.find(QString::fromLatin1(action.control), action.index)->setText(caption);
            if (action.modeCaption >= 0)
                captions[std::size_t(action.modeCaption)] = caption;
        }
    }
    return reading;
}

std::optional<QString> ReadCaptionText(const ProgramFlags& flags, Platform& platform) {
    if (flags.SkipCaptionFile)
        return std::nullopt;
    const auto bytes = platform.readFile(DataFilePath(platform, CaptionFileName));
    if (!bytes)
        return std::nullopt;
    // Not UTF-8: the code page of the user's language, in which the file was written.
    return DecodeAnsiText(*bytes, AnsiCodePage(platform.userLocale()));
}

void ApplyCaptionFile(Form1& form, ModeCaptions& captions, const std::optional<QString>& text,
                      const std::function<void()>& languageFont) {
    if (text && !ApplyCaptionText(*text, form, captions, languageFont).stopped)
        return;
    StoreDefaultModeCaptions(captions);
}

void LoadCaptionText(Form1& form, ModeCaptions& captions, const ProgramFlags& flags,
                     Platform& platform, const std::function<void()>& languageFont) {
    ApplyCaptionFile(form, captions, ReadCaptionText(flags, platform), languageFont);
}

} // namespace veldrune
