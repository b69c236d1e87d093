// The UPI screen's geometry: each of its own elements' frame and the relations it asks for,
// computed afresh from the layout area on every pass. The heading keeps its frame; the grid,
// the address label, the note and the two address fields are placed by the relations the
// resolver keeps. The header, the logos and the pay button are laid out with every screen's.

#include "platform/ui/TextFieldInputView.h"
#include "theme/Layout.h"
#include "upi/upiCollectionViewCell.h"
#include "upi/upiViewController_p.h"

#include <QFontMetrics>

#include <cmath>

namespace pelbrook {

namespace {

// Room between the address field and the handle field beside it.
constexpr int HandleGap = 8;

} // namespace

void upiViewControllerPrivate::prepareInputs()
{
    initUpi();
    createBankPicker();
    createToolbar();
    // Opened from the handle field, the list must leave the pay button, the address the buyer
    // typed and the order's summary in view, and stay within the screen's column.
    TextFieldInputView::of(upiPostFixTextField)->setPlacementLimits(area(), {payButton, upiVpaTextField, orderBg});
    upiPostFixTextField->hide();
    setRoundedBorder(upiVpaTextField, true);
    setRoundedBorder(upiPostFixTextField, false);
    QObject::connect(upiCollection, &LogoTileGrid::chosen, this, &upiViewControllerPrivate::didSelectItem);
    upiCollection->setItemDelegate(new upiCollectionViewCell(upiCollection));
    upiCollection->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    upiCollection->reloadData(upiArray, upiArrayHighlighted);
}

void upiViewControllerPrivate::setupUpiCollection(double H)
{
    setFrame(upiCollection, QRectF(0, 100, 320, std::trunc(H / 4)));
    addTo(scrollContent, upiCollection);
}

void upiViewControllerPrivate::layOutInputs(double W, double H)
{
    QWidget *root = area();
    placeHeading(upiChooseLabel, W, H);

    setupUpiCollection(H);
    addSizeRelation(upiCollection, LayoutEdge::Height, H / 8.3);
    addSizeRelation(upiCollection, LayoutEdge::Width, W);
    setAnchor(upiCollection, topAnchor(upiChooseLabel), leftAnchor(root), bottomAnchor(upiCollection), rightAnchor(root),
              20, 15, 10, 15, W, H / 8.3);

    setFrame(upiLabel, QRectF(20, H / 4.63, 450, 21));
    addTo(scrollContent, upiLabel);
    setAnchor(upiLabel, topAnchor(upiCollection), leftAnchor(root), bottomAnchor(upiLabel), rightAnchor(orderAmountLabel),
              90, 10, 20, 10, 450, 25);

    setFrame(userMessageLabelUpi, QRectF(20, 491, std::trunc(W), 165));
    addTo(scrollContent, userMessageLabelUpi);
    setAnchor(userMessageLabelUpi, topAnchor(upiLabel), leftAnchor(root), bottomAnchor(userMessageLabelUpi),
              rightAnchor(root), 20, 20, 20, 20, W, 45);

    setFrame(upiVpaTextField, QRectF(16, 248, 288, 33));
    addTo(scrollContent, upiVpaTextField);
    setAnchor(upiVpaTextField, topAnchor(userMessageLabelUpi), leftAnchor(root), bottomAnchor(upiVpaTextField),
              rightAnchor(root), 50, 20, 50, 20, W, 40);

    // The handle field sits at the right end of the address row, wide enough for the longest
    // handle, and the address field makes room for it. Pinned 170 points into the address
    // field and 20 wide, it would cover the typed address and cut the handle short.
    setFrame(upiPostFixTextField, QRectF(46, 248, 88, 33));
    addTo(scrollContent, upiPostFixTextField);
    const QFontMetrics metrics(upiPostFixTextField->font());
    int handleWidth = 0;
    for (const QString &handle : bankPostfix())
        handleWidth = qMax(handleWidth, metrics.horizontalAdvance(QStringLiteral("@") + handle));
    // The field's padding and frame, with a little to spare.
    handleWidth += 24;
    setAnchor(upiPostFixTextField, topAnchor(userMessageLabelUpi), LayoutAnchor{}, bottomAnchor(upiPostFixTextField),
              rightAnchor(root), 50, 0, 50, 20, handleWidth, 40);
}

void upiViewControllerPrivate::viewsResolved()
{
    addressFieldFrame = upiVpaTextField->geometry();
    fitAddressBesideHandle();
}

void upiViewControllerPrivate::fitAddressBesideHandle()
{
    if (addressFieldFrame.isNull())
        return;
    QRect frame = addressFieldFrame;
    if (!upiPostFixTextField->isHidden())
        frame.setRight(qMin(frame.right(), upiPostFixTextField->geometry().left() - HandleGap - 1));
    upiVpaTextField->setGeometry(frame);
}

} // namespace pelbrook
