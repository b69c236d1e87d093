// The net banking screen's geometry: each of its own elements' frame and the relations it asks
// for, computed afresh from the layout area on every pass. The heading keeps its frame; the
// bank list is placed by its relations, and ends above the pay button. The header, the logos
// and the pay button are laid out with every screen's.

#include "netbanking/netBankingViewController_p.h"
#include "theme/Layout.h"

#include <cmath>

namespace pelbrook {

namespace {

// Room kept between the bottom of the list and the pay button, as under the wallet grid.
constexpr int ListGap = 8;
// Room kept between the heading and the list it names.
constexpr int HeadingGap = 4;

} // namespace

void netBankingViewControllerPrivate::layOutInputs(double W, double H)
{
    placeHeading(userMessageLabel, W, H);
}

void netBankingViewControllerPrivate::layOutLists(double W, double H)
{
    setFrame(netbankingTable, QRectF(0, std::trunc(H / 2.02), 320, std::trunc(H / 1.32)));
    LayoutData::of(netbankingTable)->translatesFrame = false;
    addTo(area(), netbankingTable);
    addRelation(netbankingTable, LayoutEdge::Top, topAnchor(merchNameLabel), H / 4.52);
    addSizeRelation(netbankingTable, LayoutEdge::Height, H / 1.32);
    addSizeRelation(netbankingTable, LayoutEdge::Width, W);
    addRelation(netbankingTable, LayoutEdge::Bottom, topAnchor(payButton), 0);
}

void netBankingViewControllerPrivate::viewsResolved()
{
    // The list's height would take it over the pay button, where a row would lie half under
    // it; it ends above the button instead, and the keyboard scrolls each row whole into view.
    keepBelowHeading(netbankingTable, userMessageLabel, HeadingGap);
    keepAbovePayButton(netbankingTable, ListGap);
}

} // namespace pelbrook
