// The wallet screen's geometry: each of its own elements' frame and the relations it asks for,
// computed afresh from the layout area on every pass. The heading keeps its frame; the grid is
// placed by the relations the resolver keeps, and ends above the pay button. The header, the
// logos and the pay button are laid out with every screen's.

#include "theme/Layout.h"
#include "wallet/walletCollectionViewCell.h"
#include "wallet/walletViewController_p.h"

#include <cmath>

namespace pelbrook {

namespace {

// Room kept between the bottom of the grid and the pay button.
constexpr int GridGap = 8;
// Room kept between the heading and the grid it names.
constexpr int HeadingGap = 4;

} // namespace

void walletViewControllerPrivate::prepareInputs()
{
    QObject::connect(walletCollection, &LogoTileGrid::chosen, this, &walletViewControllerPrivate::didSelectItem);
    walletCollection->setItemDelegate(new walletCollectionViewCell(walletCollection));
    walletCollection->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    walletCollection->reloadData(walletArray, walletArrayHighlighted);
}

void walletViewControllerPrivate::layOutInputs(double W, double H)
{
    placeHeading(userMessageLabel, W, H);
}

void walletViewControllerPrivate::setupWalletCollection(double H)
{
    setFrame(walletCollection, QRectF(0, 100, 320, std::trunc(H / 4)));
    addTo(area(), walletCollection);
}

void walletViewControllerPrivate::layOutLists(double W, double H)
{
    QWidget *root = area();
    setupWalletCollection(H);
    addSizeRelation(walletCollection, LayoutEdge::Height, H / 2.45);
    addSizeRelation(walletCollection, LayoutEdge::Width, W);
    setAnchor(walletCollection, topAnchor(orderBg), leftAnchor(root), bottomAnchor(walletCollection), rightAnchor(root),
              (H / 2.45) / 1.69, 15, 20, 15, W, H / 2.45);
}

void walletViewControllerPrivate::viewsResolved()
{
    // Reaching over the pay button, as the grid's relations ask, it would take the clicks
    // meant for the button; a long list scrolls inside the grid instead.
    keepBelowHeading(walletCollection, userMessageLabel, HeadingGap);
    keepAbovePayButton(walletCollection, GridGap);
}

} // namespace pelbrook
