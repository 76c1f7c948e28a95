#include "ui/kxKeyValueGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

constexpr int PickListRole = Qt::UserRole + 1;

// Edits a value as a drop-down list when its row has a pick list.
class TPickListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        const QStringList items = pickList(index);
        if (items.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(items);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    static QStringList pickList(const QModelIndex& index)
    {
        return index.siblingAtColumn(0).data(PickListRole).toStringList();
    }
};

} // namespace

TKeyValueGrid::TKeyValueGrid(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({tr("Key"), tr("Value")});
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    setItemDelegateForColumn(1, new TPickListDelegate(this));
    setColumnWidth(0, 150);
}

void TKeyValueGrid::Clear() { setRowCount(0); }

int TKeyValueGrid::AddRow(const QString& key, const QString& value, const QStringList& pickList)
{
    const int row = rowCount();
    insertRow(row);
    auto* k = new QTableWidgetItem(key);
    k->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!pickList.isEmpty()) k->setData(PickListRole, pickList);
    setItem(row, 0, k);
    auto* v = new QTableWidgetItem(value);
    if (!pickList.isEmpty()) v->setToolTip(pickList.join(QStringLiteral(" / ")));
    setItem(row, 1, v);
    return row;
}

int TKeyValueGrid::AddEmptyRow()
{
    const int row = rowCount();
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem(QString()));
    setItem(row, 1, new QTableWidgetItem(QString()));
    return row;
}

QString TKeyValueGrid::Key(int row) const
{
    const QTableWidgetItem* i = item(row, 0);
    return i ? i->text() : QString();
}

QString TKeyValueGrid::ValueAt(int row) const
{
    const QTableWidgetItem* i = item(row, 1);
    return i ? i->text() : QString();
}

void TKeyValueGrid::SetValueAt(int row, const QString& value)
{
    if (QTableWidgetItem* i = item(row, 1)) i->setText(value);
    else setItem(row, 1, new QTableWidgetItem(value));
}

QStringList TKeyValueGrid::PickList(int row) const
{
    const QTableWidgetItem* i = item(row, 0);
    return i ? i->data(PickListRole).toStringList() : QStringList();
}

int TKeyValueGrid::FindRow(const QString& key) const
{
    for (int r = 0; r < rowCount(); ++r)
        if (Key(r) == key) return r;
    return -1;
}

QString TKeyValueGrid::Value(const QString& key) const
{
    const int r = FindRow(key);
    return r < 0 ? QString() : ValueAt(r);
}

void TKeyValueGrid::SetKeyColWidth(int width)
{
    if (width > 0) setColumnWidth(0, width);
}

void TKeyValueGrid::FitKeyColumn()
{
    const int needed = sizeHintForColumn(0) + 8;
    if (needed > columnWidth(0)) setColumnWidth(0, needed);
}
