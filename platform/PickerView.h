#pragma once

#include <QListWidget>

namespace pelbrook {

class PickerView;

/// What a PickerView asks of the screen that shows it.
class PickerViewDataSource
{
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfRows(PickerView *picker) = 0;
    /// The row's name: what a screen reader says, and what is shown when there is no view.
    virtual QString titleForRow(PickerView *picker, int row) = 0;
    /// A view to show in place of the title, owned by the picker from then on; null for the title.
    virtual QWidget *viewForRow(PickerView *picker, int row)
    {
        Q_UNUSED(picker) Q_UNUSED(row)
        return nullptr;
    }
    virtual int rowHeight(PickerView *picker)
    {
        Q_UNUSED(picker)
        return 32;
    }
    /// The buyer settled on @p row.
    virtual void didSelectRow(PickerView *picker, int row) = 0;
};

/**
 * A one-column list to choose from, shown in place of a keyboard. Moving through the rows with
 * the arrow keys chooses each row in turn, as turning a picker wheel does; a click or a tap
 * chooses the row under it. It never takes the keyboard focus: keys reach it from the text
 * field it belongs to.
 */
class PickerView : public QListWidget
{
    Q_OBJECT
public:
    explicit PickerView(QWidget *parent = nullptr);

    void setDataSource(PickerViewDataSource *dataSource);
    /// Asks the data source again for every row.
    void reloadAllComponents();

    /// The chosen row, or -1.
    int selectedRow() const { return m_selectedRow; }
    /// Moves to @p row and chooses it, telling the data source.
    void chooseRow(int row);
    /// Handles a key from the text field: the arrows, Home and End move and choose.
    bool handleKey(int key);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    PickerViewDataSource *m_dataSource = nullptr;
    int m_selectedRow = -1;
};

} // namespace pelbrook
