#pragma once

#include "station/output.h"
#include "station/runner.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QTableView;

namespace veldrune {

class Veldrune;

// The runs of a ranking as a table, one run a row, in rank order: rank, tool, head, total
// time, peak motor load, the torque the run used, the tool's maximum, the shortest safe cycle
// time and the verdict, as veldrune-calc's ranking shows them. A run out of the running is
// greyed and its tooltip says why. Each cell gives its value for sorting under Qt::UserRole:
// numbers as numbers, "-" after every number.
class RankModel : public QAbstractTableModel {
public:
    explicit RankModel(std::vector<StationReport> runs, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const StationReport& run(int row) const { return m_runs[std::size_t(row)]; }

private:
    std::vector<StationReport> m_runs;
    std::vector<RankRow> m_rows;
};

// "Compare tools...": every tool of the window's system ranked for the station the window
// holds, computed on programs of its own (the window is not touched), in a sortable table.
// Enter or a double click on a row hands its tool and head to `onPick` and closes the dialog;
// Escape closes it without a change.
class CompareDialog : public QDialog {
public:
    // Ranks the window's station, finishing the edit in progress first. When it cannot be
    // ranked, `failure` says why and the dialog should not be shown.
    explicit CompareDialog(Veldrune& program, QWidget* parent = nullptr);

    std::function<void(const QString& tool, const QString& head)> onPick;
    QString failure;

    QTableView* table() const { return m_table; }
    RankModel* model() const { return m_model; }
    QLabel* note() const { return m_note; }

private:
    void pick(const QModelIndex& index);

    QTableView* m_table = nullptr;
    RankModel* m_model = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace veldrune
