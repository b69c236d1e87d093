// The net banking screen's geometry: each of its own elements' frame when the view is built
// and the relations it asks for. The header, the logos, the browser view and the pay button
// are laid out with every screen's.

#include "netbanking/netBankingViewController_p.h"
#include "theme/Layout.h"

#include <cmath>

namespace pelbrook {

void netBankingViewControllerPrivate::buildInputs(double W, double H)
{
    // Without a choice, a test payment goes to the gateway's test bank.
    nb_code = checkout.env_global == QLatin1String("TEST") ? QStringLiteral("3333") : QString();
    placeHeading(userMessageLabel, W, H);
}

void netBankingViewControllerPrivate::buildViewsAboveWebView(double W, double H)
{
    QWidget *root = this->root();
    setFrame(netbankingTable, QRectF(0, std::trunc(H / 2.02), 320, std::trunc(H / 1.32)));
    LayoutData::of(netbankingTable)->translatesFrame = false;
    addTo(root, netbankingTable);
    addRelation(netbankingTable, LayoutEdge::Top, topAnchor(merchNameLabel), H / 4.52);
    addSizeRelation(netbankingTable, LayoutEdge::Height, H / 1.32);
    addSizeRelation(netbankingTable, LayoutEdge::Width, W);
    addRelation(netbankingTable, LayoutEdge::Bottom, topAnchor(payButton), 0);
}

void netBankingViewControllerPrivate::viewsResolved()
{
    // The list ends where the pay button starts, as its bottom relation asks; its height would
    // take it over the button.
    keepAbovePayButton(netbankingTable, 0);
}

} // namespace pelbrook
