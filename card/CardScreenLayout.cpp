// The card screen's geometry: each element's frame when the view is built and the relations it
// asks for. Many of these cannot all hold; the layout resolver decides which give way.

#include "card/cardViewController_p.h"
#include "shell/Layout.h"

namespace pelbrook {

void layOutCardScreen(cardViewControllerPrivate &v, QWidget *root, double W, double H)
{
    const double iW = std::trunc(W);
    const double iH = std::trunc(H);

    // The root view's requests all refer to itself: they hold and place nothing.
    addRelation(root, LayoutEdge::Width, widthAnchor(root));
    addRelation(root, LayoutEdge::Height, heightAnchor(root));
    addRelation(root, LayoutEdge::Left, leftAnchor(root));
    addRelation(root, LayoutEdge::Right, rightAnchor(root));
    setAnchor(root, safeTopAnchor(root), leftAnchor(root), bottomAnchor(root), rightAnchor(root), 0, 0, 0, 0);

    setFrame(v.scrollViewCard, QRectF(0, 0, W, H));
    v.scrollContent->resize(int(W), int(H));

    setFrame(v.orderBg, QRectF(17, 28, iW, std::trunc(iH / 5)));
    setFrame(v.orderBg, QRectF(0, 0, iW, std::trunc(iH / 5)));
    addRelation(v.orderBg, LayoutEdge::Leading, leadingAnchor(root), 0);
    addRelation(v.orderBg, LayoutEdge::Trailing, trailingAnchor(root), 0);
    addRelation(v.orderBg, LayoutEdge::Width, widthAnchor(root), 0, 0.0);
    addSizeRelation(v.orderBg, LayoutEdge::Height, H / 5);

    setFrame(v.merchNameLabel, QRectF(10, 5, 269, 47));
    addRelation(v.merchNameLabel, LayoutEdge::Leading, leadingAnchor(root), 0);
    addRelation(v.merchNameLabel, LayoutEdge::Trailing, trailingAnchor(root), 0);
    addSizeRelation(v.merchNameLabel, LayoutEdge::Width, 360);
    addSizeRelation(v.merchNameLabel, LayoutEdge::Height, 110);

    setFrame(v.orderIdStaticLabel, QRectF(10, 50, 67, 21));
    setAnchor(v.orderIdStaticLabel, topAnchor(v.merchNameLabel), leftAnchor(root), bottomAnchor(v.orderIdStaticLabel),
              rightAnchor(root), 40, 10, 20, 20, 100, 25);
    setFrame(v.orderAmountStaticLabel, QRectF(10, 107, 121, 24));
    setAnchor(v.orderAmountStaticLabel, topAnchor(v.orderIdStaticLabel), leftAnchor(root),
              bottomAnchor(v.orderAmountStaticLabel), rightAnchor(root), 30, 10, 20, 20, 100, 25);
    setFrame(v.orderIdLabel, QRectF(185, 77, 201, 22));
    setAnchor(v.orderIdLabel, topAnchor(v.merchNameLabel), leftAnchor(v.orderIdStaticLabel), bottomAnchor(v.orderIdLabel),
              rightAnchor(v.orderIdLabel), 40, 70, 30, 20, 250, 25);
    setFrame(v.orderAmountLabel, QRectF(309, 100, 130, 38));
    setAnchor(v.orderAmountLabel, topAnchor(v.merchNameLabel), leftAnchor(v.orderAmountStaticLabel),
              bottomAnchor(v.orderAmountLabel), rightAnchor(v.orderAmountLabel), 70, 70, 30, 20, 150, 25);

    // The trailing constants are +10, to the right of the view's trailing edge.
    setFrame(v.cardNumberLabel, QRectF(20, H / 4.77, W / 1.3, 17.5));
    addRelation(v.cardNumberLabel, LayoutEdge::Leading, leadingAnchor(root), 10);
    addRelation(v.cardNumberLabel, LayoutEdge::Trailing, trailingAnchor(root), 10);
    addSizeRelation(v.cardNumberLabel, LayoutEdge::Width, W / 1.3);
    addSizeRelation(v.cardNumberLabel, LayoutEdge::Height, 25);

    setFrame(v.cardNumberTextField, QRectF(19, H / 3.85, W / 1.14, 45));
    addRelation(v.cardNumberTextField, LayoutEdge::Leading, leadingAnchor(root), 10);
    addRelation(v.cardNumberTextField, LayoutEdge::Trailing, trailingAnchor(root), 10);
    addSizeRelation(v.cardNumberTextField, LayoutEdge::Width, W / 1.3);
    addSizeRelation(v.cardNumberTextField, LayoutEdge::Height, 25);

    setFrame(v.cardHolderNameTextField, QRectF(19, 288, std::trunc(W / 1.14), 45));
    setAnchor(v.cardHolderNameTextField, topAnchor(v.cardNumberTextField), leftAnchor(root),
              bottomAnchor(v.cardHolderNameTextField), rightAnchor(root), 65, 20, 20, 20, 350, 45);
    setFrame(v.cardExpiryLabel, QRectF(19, H / 2.75, W / 1.3, 17.5));
    setAnchor(v.cardExpiryLabel, topAnchor(v.cardHolderNameTextField), leftAnchor(root), bottomAnchor(v.cardExpiryLabel),
              rightAnchor(root), 55, 20, 20, 20, 200, 25);
    setFrame(v.cardCvcLabel, QRectF(332, 329, 86, 21));
    setAnchor(v.cardCvcLabel, topAnchor(v.cardHolderNameTextField), leftAnchor(root), bottomAnchor(v.cardCvcLabel),
              rightAnchor(root), 55, W / 1.19, 20, 20, 150, 25);
    setFrame(v.cardExpiryMonthTextField, QRectF(16, 358, 45, 45));
    setAnchor(v.cardExpiryMonthTextField, topAnchor(v.cardExpiryLabel), leftAnchor(root),
              bottomAnchor(v.cardExpiryMonthTextField), rightAnchor(v.cardExpiryMonthTextField), 28, 20, 20, 20, 45, 45);
    setFrame(v.cardExpiryYearTextField, QRectF(68, 358, 45, 45));
    setAnchor(v.cardExpiryYearTextField, topAnchor(v.cardExpiryLabel), leftAnchor(root),
              bottomAnchor(v.cardExpiryYearTextField), rightAnchor(v.cardExpiryMonthTextField), 28, 80, 20, 20, 45, 45);
    // W / 0.52 is almost twice W: the left edge it asks for lies far outside the view.
    setFrame(v.cardCvcTextField, QRectF(328, 358, 130, 45));
    setAnchor(v.cardCvcTextField, topAnchor(v.cardCvcLabel), leftAnchor(v.cardExpiryYearTextField),
              bottomAnchor(v.cardCvcTextField), rightAnchor(root), 28, W / 0.52, 20, 20, 130, 45);

    setFrame(v.cardPayButton, QRectF(25, std::trunc(H / 1.82), iW, 50));
    setAnchor(v.cardPayButton, topAnchor(v.cardExpiryMonthTextField), leftAnchor(root), bottomAnchor(v.cardPayButton),
              rightAnchor(root), 60, 20, 0, 20, W, 50);

    setFrame(v.pelbrookLogo, QRectF(0, H / 1.31, W, 14.5));
    addRelation(v.pelbrookLogo, LayoutEdge::Leading, leadingAnchor(root), 0);
    addRelation(v.pelbrookLogo, LayoutEdge::Trailing, trailingAnchor(root), 0);
    addSizeRelation(v.pelbrookLogo, LayoutEdge::Width, 75);
    addSizeRelation(v.pelbrookLogo, LayoutEdge::Height, 14.5);

    setFrame(v.merchantLogo, QRectF(W / 1.45, 12, 80, 80));
    addRelation(v.merchantLogo, LayoutEdge::Leading, leadingAnchor(root), 0);
    addRelation(v.merchantLogo, LayoutEdge::Trailing, trailingAnchor(root), 0);
    addSizeRelation(v.merchantLogo, LayoutEdge::Width, 80);
    addSizeRelation(v.merchantLogo, LayoutEdge::Height, 80);
}

} // namespace pelbrook
