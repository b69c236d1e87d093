#pragma once

#include <QWidget>

class QLabel;

namespace pelbrook {

class ImageView;

/// A row of the bank list: the bank's logo at the left and its name beside it.
class netbankingTableViewCell : public QWidget
{
    Q_OBJECT
public:
    static constexpr char ReuseIdentifier[] = "nbCell";

    explicit netbankingTableViewCell(QWidget *parent = nullptr);

    ImageView *imageView() const { return m_imageView; }
    QLabel *textLabel() const { return m_textLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ImageView *m_imageView;
    QLabel *m_textLabel;
};

} // namespace pelbrook
