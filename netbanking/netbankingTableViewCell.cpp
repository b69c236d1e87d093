#include "netbanking/netbankingTableViewCell.h"

#include "platform/ImageView.h"

#include <QLabel>

namespace pelbrook {

netbankingTableViewCell::netbankingTableViewCell(QWidget *parent)
    : QWidget(parent)
    , m_imageView(new ImageView(this))
    , m_textLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("netbankingTableViewCell"));
    m_imageView->setObjectName(QStringLiteral("imageView"));
    m_imageView->setContentMode(ImageView::ContentMode::ScaleAspectFit);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    resize(320, 44);
}

void netbankingTableViewCell::resizeEvent(QResizeEvent *)
{
    // The standard row: a square image inset at the left, the text after it.
    const int side = qMax(0, height() - 8);
    m_imageView->setGeometry(15, 4, side, side);
    const int textLeft = 15 + side + 15;
    m_textLabel->setGeometry(textLeft, 0, qMax(0, width() - textLeft - 15), height());
}

} // namespace pelbrook
