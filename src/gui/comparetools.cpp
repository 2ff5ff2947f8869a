#include "gui/comparetools.h"

#include "app/veldrune.h"
#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"
#include "station/rank.h"
#include "station/savestation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace veldrune {

namespace {

constexpr int RankColumnIndex = 0;

// A run's cells, its rank being its row among the runs so far.
RankRow cellsAt(const std::vector<StationReport>& runs, std::size_t row) {
    RankRow cells = RankCells(runs[row]);
    cells.position = int(row) + 1;
    return cells;
}

} // namespace

RankModel::RankModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void RankModel::add(StationReport run) {
    // After every run that ranks before it or alike: the order the finished ranking gives.
    const auto at = std::upper_bound(m_runs.begin(), m_runs.end(), run, RankedBefore);
    const int row = int(at - m_runs.begin());
    beginInsertRows({}, row, row);
    m_runs.insert(at, std::move(run));
    endInsertRows();
    if (row + 1 < rowCount()) // the ranks below moved down
        Q_EMIT dataChanged(index(row + 1, RankColumnIndex), index(rowCount() - 1, RankColumnIndex));
    if (row == 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, RankColumnCount - 1);
}

int RankModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_runs.size());
}

int RankModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RankColumnCount;
}

QVariant RankModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RankRow row = cellsAt(m_runs, std::size_t(index.row()));
    const bool numeric = RankColumns[index.column()].numeric;
    switch (role) {
    case Qt::DisplayRole:
        return RankCell(row, index.column());
    case Qt::UserRole: {
        if (!numeric)
            return RankCell(row, index.column());
        bool isNumber = false;
        const double value = RankCell(row, index.column()).trimmed().toDouble(&isNumber);
        return isNumber ? value : std::numeric_limits<double>::infinity();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(numeric ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (row.verdict != Fits)
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::ToolTipRole: {
        QString tip =
            row.verdict == Fits ? QString() : QStringLiteral("Out of the running: ") + row.verdict;
        if (!row.messages.isEmpty())
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + row.messages;
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    default:
        return {};
    }
}

QVariant RankModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= RankColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const bool duty = !m_runs.empty() && m_runs.front().dutyCycle;
    return RankTitle(section, duty ? m_runs.front().dutyCycle->torqueUnit : QString());
}

CompareDialog::CompareDialog(Veldrune& program, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Compare tools"));
    const Form1& f = program.form();
    // The station as saving would write it, but with a torque above the tool's maximum, which
    // the window shows as the maximum, as it was typed in the unit shown, so that the tools too
    // weak for it are told.
    const auto saved = SaveStation(program);
    m_station = PlainStation(program);
    QString torqueNote;
    const auto typed = f.lastInput(f.Text4(9));
    const auto unit = f.lastInput(f.TQUNIT);
    if (m_station.dutyCycle && typed && (!unit || unit->order < typed->order) &&
        TextValue(typed->text) > TextValue(f.Text4(9).text())) {
        m_station.dutyCycle->fasteningTorque = typed->text;
        torqueNote = QStringLiteral("The window shows %1's maximum torque; the runs ask for "
                                    "the %2 %3 that was typed.")
                         .arg(f.TOOLLIST.text().trimmed(), typed->text.trimmed(), f.TQUNIT.text());
    }
    QString text = QStringLiteral("The station run with every tool of %1, in rank order: the "
                                  "runs that fit first, by total time, then by peak load. Enter "
                                  "or a double click shows the run in the window.")
                       .arg(f.SYSTEM.text());
    if (!torqueNote.isEmpty())
        text += u'\n' + torqueNote;
    // Where the station's plain form does not give this very window, the reader is told.
    if (saved && !saved->differences.isEmpty())
        text += QStringLiteral("\nThe runs use the fields as a station file holds them, which "
                               "shows otherwise than this window: ") +
                saved->differences.join(QStringLiteral("; ")).toLower() + u'.';
    m_note = new QLabel(text, this);
    m_note->setWordWrap(true);

    m_model = new RankModel(this);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(m_model);
    sorted->setSortRole(Qt::UserRole);
    m_table = new QTableView(this);
    m_table->setModel(sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(RankColumnIndex, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setAccessibleName(QStringLiteral("Tools ranked for the station"));
    connect(m_table, &QTableView::activated, this, &CompareDialog::pick);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0); // busy until the runs are counted
    m_progress->setAccessibleName(QStringLiteral("Runs ranked"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    // Enter belongs to the table: it picks the row, it does not close the dialog.
    m_buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_table);
    layout->addWidget(m_progress);
    layout->addWidget(m_buttons);
    const int digit = m_table->fontMetrics().horizontalAdvance(u'0');
    int width = 0;
    for (const RankColumn& column : RankColumns)
        width += digit * (column.width + 1);
    resize(std::min(width + 60, 1200), 480);
    m_table->setFocus();

    // The runs start like a program started as the window was, from what it read then.
    m_platform = std::make_unique<RecordingPlatform>(program.platform());
    m_like = std::make_unique<Veldrune>(*m_platform);
    m_like->startLike(program);
    RunOptions options;
    options.like = m_like.get();
    options.likeMessages = m_platform->messages();
    const RankPlace place{program.platform().programFolder(), program.platform().workingFolder()};
    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    m_worker = std::thread([this, place, options, threads] {
        const auto ranked = RankStation(
            m_station, place, options,
            [this](const StationReport& run, int done, int total) {
                QMetaObject::invokeMethod(
                    this,
                    [this, run, done, total] {
                        m_model->add(run);
                        m_progress->setRange(0, total);
                        m_progress->setValue(done);
                    },
                    Qt::QueuedConnection);
                return !m_cancelled;
            },
            threads);
        const auto* error = std::get_if<StationError>(&ranked);
        QMetaObject::invokeMethod(
            this, [this, failure = error ? error->message : QString()] { finish(failure); },
            Qt::QueuedConnection);
    });
}

CompareDialog::~CompareDialog() {
    m_cancelled = true;
    m_worker.join();
}

void CompareDialog::finish(const QString& failure) {
    m_done = true;
    // The best run is where Enter picks, unless a row was chosen meanwhile.
    if (m_model->rowCount() > 0 && !m_table->selectionModel()->hasSelection())
        m_table->selectRow(0);
    m_progress->hide();
    m_buttons->setStandardButtons(QDialogButtonBox::Close);
    m_buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    if (!failure.isEmpty())
        m_note->setText(QStringLiteral("The tools cannot be compared: ") + failure);
}

void CompareDialog::pick(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const auto* sorted = static_cast<const QSortFilterProxyModel*>(m_table->model());
    const StationReport& run = m_model->run(sorted->mapToSource(index).row());
    const Station shown = RankedRun(m_station, run.tool, run.angleHead);
    accept();
    if (onPick)
        onPick(shown);
}

} // namespace veldrune
