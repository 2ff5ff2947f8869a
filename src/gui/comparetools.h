#pragma once

#include "station/output.h"
#include "station/runner.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTableView;

namespace veldrune {

class RecordingPlatform;
class Veldrune;

// The runs of a ranking as a table, one run a row, in rank order, with the ranking's columns
// (see RankColumns). Runs come in as they are done, each put at its rank among those so far. A
// run out of the running is greyed and its tooltip says why. Each cell gives its value for
// sorting under Qt::UserRole: numbers as numbers, "-" after every number.
class RankModel : public QAbstractTableModel {
public:
    explicit RankModel(QObject* parent = nullptr);

    // A run done, with its verdict.
    void add(StationReport run);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const StationReport& run(int row) const { return m_runs[std::size_t(row)]; }

private:
    std::vector<StationReport> m_runs;
};

// "Compare tools...": every tool of the window's system ranked for the station the window
// holds, on worker threads, by programs started like the window's (its catalogue, its caption
// file, its working folder); the window stays usable. The rows appear as the runs are done, with
// a progress bar; Cancel or Escape stops the ranking and closes the dialog. Enter or a double
// click on a row hands that row's run (the station with its tool and head) to `onPick` and
// closes the dialog.
class CompareDialog : public QDialog {
public:
    // Starts ranking the window's station, finishing the edit in progress first.
    explicit CompareDialog(Veldrune& program, QWidget* parent = nullptr);
    ~CompareDialog() override;

    std::function<void(const Station& run)> onPick;

    QTableView* table() const { return m_table; }
    RankModel* model() const { return m_model; }
    QLabel* note() const { return m_note; }
    QProgressBar* progress() const { return m_progress; }
    // The ranking has ended: every run is in the table, or it was refused.
    bool done() const { return m_done; }

private:
    void pick(const QModelIndex& index);
    void finish(const QString& failure);

    Station m_station;
    std::unique_ptr<RecordingPlatform> m_platform;
    std::unique_ptr<Veldrune> m_like; // started like the window, read by the ranking's threads
    std::atomic<bool> m_cancelled = false;
    std::thread m_worker;
    bool m_done = false;

    QTableView* m_table = nullptr;
    RankModel* m_model = nullptr;
    QLabel* m_note = nullptr;
    QProgressBar* m_progress = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace veldrune
