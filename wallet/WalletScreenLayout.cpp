// The wallet screen's geometry: each of its own elements' frame when the view is built and
// the relations it asks for. The header, the logos and the pay button are laid out with every
// screen's.

#include "theme/Layout.h"
#include "wallet/walletCollectionViewCell.h"
#include "wallet/walletViewController_p.h"

#include <cmath>

namespace pelbrook {

namespace {

// Room kept between the bottom of the grid and the pay button.
constexpr int GridGap = 8;

} // namespace

void walletViewControllerPrivate::buildInputs(double W, double H)
{
    placeHeading(userMessageLabel, W, H);
}

QRectF walletViewControllerPrivate::webViewFrame(double W, double H) const
{
    return QRectF(0, 5, std::trunc(W), std::trunc(H) + 5);
}

void walletViewControllerPrivate::setupWalletCollection(double H)
{
    QObject::connect(walletCollection, &LogoTileGrid::chosen, this, &walletViewControllerPrivate::didSelectItem);
    setFrame(walletCollection, QRectF(0, 100, 320, std::trunc(H / 4)));
    walletCollection->setItemDelegate(new walletCollectionViewCell(walletCollection));
    walletCollection->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    addTo(root(), walletCollection);
    walletCollection->reloadData(walletArray, walletArrayHighlighted);
}

void walletViewControllerPrivate::buildViewsAboveWebView(double W, double H)
{
    QWidget *root = this->root();
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
    keepAbovePayButton(walletCollection, GridGap);
}

} // namespace pelbrook
