#include "gui/comparetools.h"

#include "app/veldrune.h"
#include "input/entryfields.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "station/rank.h"
#include "station/savestation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <thread>

namespace veldrune {

namespace {

enum Column { Rank, Tool, Head, Total, PeakLoad, Torque, Maximum, SafeCycle, Verdict, Columns };

QString cell(const RankRow& row, int column) {
    switch (column) {
    case Rank:
        return QString::number(row.position);
    case Tool:
        return row.tool;
    case Head:
        return row.head;
    case Total:
        return row.totalTime;
    case PeakLoad:
        return row.peakLoad;
    case Torque:
        return row.torque;
    case Maximum:
        return row.maximum;
    case SafeCycle:
        return row.safeCycle;
    default:
        return row.verdict;
    }
}

bool numeric(int column) {
    return column != Tool && column != Head && column != Verdict;
}

} // namespace

RankModel::RankModel(std::vector<StationReport> runs, QObject* parent)
    : QAbstractTableModel(parent)
    , m_runs(std::move(runs)) {
    for (const StationReport& run : m_runs)
        m_rows.push_back(RankCells(run));
}

int RankModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RankModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant RankModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RankRow& row = m_rows[std::size_t(index.row())];
    const bool fits = row.verdict == Fits;
    switch (role) {
    case Qt::DisplayRole:
        return cell(row, index.column());
    case Qt::UserRole: {
        if (!numeric(index.column()))
            return cell(row, index.column());
        bool isNumber = false;
        const double value = cell(row, index.column()).trimmed().toDouble(&isNumber);
        return isNumber ? value : std::numeric_limits<double>::infinity();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(numeric(index.column()) ? Qt::AlignRight | Qt::AlignVCenter
                                                           : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (!fits)
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::ToolTipRole: {
        QString tip = fits ? QString() : QStringLiteral("Out of the running: ") + row.verdict;
        if (!row.messages.isEmpty())
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + row.messages;
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    default:
        return {};
    }
}

QVariant RankModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString unit = !m_runs.empty() && m_runs.front().dutyCycle
                             ? QStringLiteral(" [%1]").arg(m_runs.front().dutyCycle->torqueUnit)
                             : QString();
    switch (section) {
    case Rank:
        return QStringLiteral("Rank");
    case Tool:
        return QStringLiteral("Tool");
    case Head:
        return QStringLiteral("Head");
    case Total:
        return QStringLiteral("Total [s]");
    case PeakLoad:
        return QStringLiteral("Peak load [%]");
    case Torque:
        return QStringLiteral("Torque") + unit;
    case Maximum:
        return QStringLiteral("Maximum") + unit;
    case SafeCycle:
        return QStringLiteral("Safe cycle [s]");
    default:
        return QStringLiteral("Verdict");
    }
}

CompareDialog::CompareDialog(Veldrune& program, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Compare tools"));
    const Form1& f = program.form();
    // The station as saving would write it, but with a torque above the tool's maximum, which
    // the window shows as the maximum, as it was typed in the unit shown, so that the tools too
    // weak for it are told.
    const auto saved = SaveStation(program);
    Station station = PlainStation(program);
    QString torqueNote;
    const auto typed = f.lastInput(f.Text4(9));
    const auto unit = f.lastInput(f.TQUNIT);
    if (station.dutyCycle && typed && (!unit || unit->order < typed->order) &&
        TextValue(typed->text) > TextValue(f.Text4(9).text())) {
        station.dutyCycle->fasteningTorque = typed->text;
        torqueNote = QStringLiteral("The window shows %1's maximum torque; the runs ask for "
                                    "the %2 %3 that was typed.")
                         .arg(f.TOOLLIST.text().trimmed(), typed->text.trimmed(), f.TQUNIT.text());
    }
    const Platform& platform = program.platform();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto ranked =
        RankStation(station, RankPlace{platform.programFolder(), platform.workingFolder()}, {}, {},
                    int(std::max(1u, std::thread::hardware_concurrency())));
    // Where the station's plain form does not give this very window, the reader is told.
    const bool exact = !saved || saved->differences.isEmpty();
    QApplication::restoreOverrideCursor();
    if (const auto* error = std::get_if<StationError>(&ranked)) {
        failure = error->message;
        return;
    }

    m_model = new RankModel(std::move(std::get<std::vector<StationReport>>(ranked)), this);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(m_model);
    sorted->setSortRole(Qt::UserRole);
    m_table = new QTableView(this);
    m_table->setModel(sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(Rank, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();
    m_table->setAccessibleName(QStringLiteral("Tools ranked for the station"));
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    connect(m_table, &QTableView::activated, this, &CompareDialog::pick);

    QString text = QStringLiteral("%1 runs of the station with every tool of %2, in rank order: "
                                  "the runs that fit first, by total time, then by peak load. "
                                  "Enter or a double click picks the tool and head.")
                       .arg(m_model->rowCount())
                       .arg(f.SYSTEM.text());
    if (!torqueNote.isEmpty())
        text += u'\n' + torqueNote;
    if (!exact)
        text += QStringLiteral("\nThe runs use the fields as a station file holds them, which "
                               "shows otherwise than this window: ") +
                saved->differences.join(QStringLiteral("; ")).toLower() + u'.';
    m_note = new QLabel(text, this);
    m_note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    // Enter belongs to the table: it picks the row, it does not close the dialog.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    int width = 0;
    for (int c = 0; c < Columns; ++c)
        width += m_table->columnWidth(c);
    resize(std::min(width + 60, 1200), 480);
    m_table->setFocus();
}

void CompareDialog::pick(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const auto* sorted = static_cast<const QSortFilterProxyModel*>(m_table->model());
    const StationReport& run = m_model->run(sorted->mapToSource(index).row());
    accept();
    if (onPick)
        onPick(run.tool, run.angleHead);
}

} // namespace veldrune
