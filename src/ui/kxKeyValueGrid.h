#pragma once
// A two-column key/value grid (the value-list editor of the record frames):
// keys are fixed, values editable, and a row may offer a pick list of values.
#include <QStringList>
#include <QTableWidget>

class TKeyValueGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TKeyValueGrid(QWidget* parent = nullptr);

    // Removes every row.
    void Clear();
    // Appends a row; a non-empty pick list makes the value a drop-down list.
    int AddRow(const QString& key, const QString& value, const QStringList& pickList = {});
    // Appends a row whose key can be typed too (the grid's empty starting row).
    int AddEmptyRow();

    QString Key(int row) const;
    QString ValueAt(int row) const;
    void SetValueAt(int row, const QString& value);
    QStringList PickList(int row) const;
    // The row with that key (the first one), or -1.
    int FindRow(const QString& key) const;
    bool HasKey(const QString& key) const { return FindRow(key) >= 0; }
    // The value of the row with that key; empty when there is no such row.
    QString Value(const QString& key) const;

    int KeyColWidth() const { return columnWidth(0); }
    void SetKeyColWidth(int width);
    // Widens the key column when a key would not fit (never narrows it).
    void FitKeyColumn();
};
