#include "theme/LogoTileCell.h"

#include "platform/ImageView.h"
#include "theme/Layout.h"

namespace pelbrook {

LogoTileCell::LogoTileCell(const QString &imageViewName, const QRect &frame, QWidget *parent)
    : CollectionViewCell(parent)
    , m_imageView(new ImageView(this))
{
    m_imageView->setObjectName(imageViewName);
    m_imageView->setContentMode(ImageView::ContentMode::ScaleAspectFit);
    m_imageView->setGeometry(0, 10, 130, 50);
    LayoutData::of(m_imageView)->translatesFrame = false;
    setGeometry(frame);
    addViews();
}

void LogoTileCell::addViews()
{
    addRelation(m_imageView, LayoutEdge::Left, leftAnchor(this), 0);
    addRelation(m_imageView, LayoutEdge::Right, rightAnchor(this), 0);
    addRelation(m_imageView, LayoutEdge::Top, topAnchor(this), 10);
    addSizeRelation(m_imageView, LayoutEdge::Height, 50);
    addSizeRelation(m_imageView, LayoutEdge::Width, 130);
    LayoutResolver::install(this);
}

void LogoTileCell::setHighlighted(bool highlighted)
{
    m_imageView->setHighlighted(highlighted);
}

} // namespace pelbrook
