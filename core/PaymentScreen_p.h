#pragma once

#include <pelbrook/PaymentScreen.h>

#include "core/CheckoutContext.h"
#include "core/GatewayNotice.h"
#include "core/InputHint.h"
#include "core/PaymentForm.h"
#include "core/PaymentSession.h"
#include "platform/web/BrowserView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "theme/BusyOverlay.h"

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QScrollArea>
#include <QTimer>

#include <memory>
#include <optional>

namespace pelbrook {

/// Where one screen puts the order header. Every screen shows the same header views; they
/// differ only in these numbers.
struct HeaderGeometry {
    /// `orderBg` is a fifth of the screen high (int(H) div 5); otherwise 110 points.
    bool backgroundFifthOfHeight = true;
    /// `merchNameLabel` is pinned below the safe top; otherwise by its two sides.
    bool nameBelowSafeTop = false;
    QRectF nameFrame;
    QRectF idStaticFrame;
    QRectF amountStaticFrame;
    QRectF idFrame;
    QRectF amountFrame;
    /// How far below the merchant name's top the order id and the amount rows start.
    double idTop = 40;
    double amountTop = 70;
    double amountStaticWidth = 200;
    /// The bottom padding of the two value labels.
    double valueBottom = 20;
};

/// The parts a screen places after the header, in the order it first adds them: their stacking
/// follows that order.
enum class BuildStep { Inputs, PayButton, Logos, Lists };

/// The values in which the four screens differ.
struct ScreenTraits {
    QString paymentOption;
    /// The UPI and wallet forms carry the name and note fields twice.
    bool repeatsNameAndNote = false;
    const char *webViewName = "";
    const char *payButtonName = "";
    HeaderGeometry header;
    QList<BuildStep> buildOrder;
    /// The paddings of the relations the root view asks of itself, if any. Careful: QMarginsF
    /// takes them as left, top, right, bottom.
    std::optional<QMarginsF> rootViewPaddings;
    /// The pay action shows the overlay before switching to the payment page.
    bool overlayBeforePaymentPage = false;
    /// Each showing makes the navigation and tab bars opaque white.
    bool opaqueWhiteBars = false;
    /// The paddings of the relations the screen asks of its browser view, if any. They place
    /// nothing: the browser view always covers the whole content area (see coverRootView()).
    std::optional<QMarginsF> webViewPaddings;
    /// The payment page ends editing as it replaces the inputs (the open handle list closes).
    bool endsEditingForPaymentPage = false;
    /// The hand-back returns the screen to its inputs, behind the closing checkout.
    bool inputsOnHandBack = false;
    /// The screen returns to its input state every time it has been shown.
    bool inputsOnEveryAppearance = false;
};

/**
 * The shared screen: the header, the scroll view, the browser view, the pay button, the logos,
 * the busy overlay, the pay sequence, the form, the hand-back, the input and payment-page
 * states and the theme. A screen derives its private class from this one and overrides the
 * hooks below: only what differs from the other screens.
 */
class PaymentScreenPrivate : public QObject, public NavigationDelegate
{
    Q_DECLARE_PUBLIC(PaymentScreen)
public:
    explicit PaymentScreenPrivate(const ScreenTraits &traits);
    ~PaymentScreenPrivate() override;

    // --- What a screen supplies ---

    /// Makes the screen's own views, once, when the screen's views are first needed (see
    /// makeViews()). Labels and fields start in the scroll content (makeLabel(),
    /// makeTextField()); a view for the layout area starts in inAreaOrPending().
    virtual void makeInputs() {}
    /// Runs once, before the first layout pass: what the screen sets on its own views once.
    virtual void prepareInputs() {}
    /// Gives the screen's own views their frames and relations for an area of W x H, adding
    /// them to their parents on the first pass. Runs on every layout pass, so it only places.
    virtual void layOutInputs(double W, double H) = 0;
    /// Likewise for the grids and lists that lie in the layout area above the scroll view.
    virtual void layOutLists(double W, double H) { Q_UNUSED(W) Q_UNUSED(H) }
    /// Runs once the view is built (wiring, or a list that loads now).
    virtual void viewBuilt() {}
    /// Runs after each layout pass, once the resolver has placed the views.
    virtual void viewsResolved() {}
    /// What the payment page replaces, in the order it is switched.
    virtual QList<QWidget *> paymentInputs() const = 0;
    /// The fields that give up the keyboard when a payment starts, in order.
    virtual QList<QLineEdit *> textFields() const { return {}; }
    /// Runs first on every pay press, before the token check.
    virtual void readInputs() {}
    /// The screen's own checks, after the token check; each refusal writes its own log line.
    virtual bool acceptPay() { return true; }
    /// Runs while the page is built, before the method fields are read.
    virtual void prepareMethodFields() {}
    /// The method's fields, in form order.
    virtual QList<FormField> methodFields() const = 0;
    /// The pay button's frame and relations.
    virtual void layOutPayButton(double W, double H);

    // --- The shared flow ---

    /// Makes the screen's views, once: when its view is built, or before that when an operation
    /// needs them on a screen never shown (a pay press, a switch between inputs and payment
    /// page, the card screen's expiry handlers). A tab the buyer never opens costs no views.
    void makeViews();
    void buildView();
    /// Lays the views out again for the root view's current size: the layout area, then every
    /// frame and relation computed afresh from it, then the resolver.
    void layOut();
    void themeOnAppearance();
    void payAction();
    void setPaymentPageShown(bool shown);
    bool hasPaymentToken();
    /// Builds the payment page and loads it into the browser view.
    void paySecurely_request();
    /// The navigation check: hides the overlay on "https", captures the hand-back; always
    /// allows the navigation.
    bool webViewShouldStartLoad(const QUrl &url);
    bool shouldStartLoad(BrowserView *view, const QUrl &url, QWebEnginePage::NavigationType type) override;
    /// Tells the host of a hand-back (its result, if it had a valid one) and closes the checkout.
    void reportHandBack(const std::optional<QString> &result);
    /// Ends the payment page, for a checkout that has closed: its page goes, and nothing it
    /// does later is heard.
    void abandonPaymentPage();
    /// A load of the browser view started or ended: the busy overlay goes once the gateway's
    /// first page is there, and a failed page gives way to the notice.
    void pageLoadChanged(const QWebEngineLoadingInfo &info);
    /// The browser refused a navigation: where that leaves the buyer with nothing to see (the
    /// form itself refused, or the gateway's redirect), the notice says what that means.
    void navigationRefused(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame);
    /// The page's renderer ended: the page is gone, and the notice says what that means.
    void pageEnded();
    /// Shows @p kind's notice over the payment page, in place of the busy overlay.
    void showGatewayNotice(GatewayNotice::Kind kind);
    /// Whether the payment page (the browser view) is what the screen shows.
    bool paymentPageShown() const;
    /// Something new came from the payment page: the wait under the overlay starts again.
    void pageProgressed();
    /// The private part of @p screen.
    static PaymentScreenPrivate *get(PaymentScreen *screen) { return screen->d_func(); }
    /// Stores @p value in @p member and, when that changes it, emits @p screen's @p changed.
    template <typename Value, typename Screen>
    static void update(Value &member, const Value &value, Screen *screen, void (Screen::*changed)())
    {
        if (member == value)
            return;
        member = value;
        Q_EMIT(screen->*changed)();
    }
    /// The same for a code that reads as text, empty for none: announced when its text changes.
    template <typename Screen>
    static void update(std::optional<QString> &member, const std::optional<QString> &value, Screen *screen, void (Screen::*changed)())
    {
        const bool textChanges = member.value_or(QString()) != value.value_or(QString());
        member = value;
        if (textChanges)
            Q_EMIT(screen->*changed)();
    }

    /// Adds @p view to @p parent, above the views added before it.
    static void addTo(QWidget *parent, QWidget *view);
    /// A label among the screen's views (see makeViews()), made in the scroll content.
    QLabel *makeLabel(const char *name, const QString &text, double size, bool white = false);
    /// A text field among the screen's views, made in the scroll content.
    QLineEdit *makeTextField(const char *name, const QString &placeholder);
    /// Ends @p view (a grid or a list in the layout area, above the scroll view) at least @p gap
    /// above the pay button, and above the hint line when hints are on: reaching over them,
    /// the view would hide the line or take the clicks meant for the button.
    void keepAbovePayButton(QWidget *view, int gap);
    /// Starts @p view at least @p gap below @p heading, the label that names it, which its
    /// relations would otherwise let it reach over on a short screen.
    void keepBelowHeading(QWidget *view, QWidget *heading, int gap);
    /// Turns the buyer's hints on or off; a built screen makes room for the line at once.
    void setShowsInputHints(bool shows);
    /// Moves the pay button down where the fields above it leave no room for the hint line.
    void makeRoomForHint();
    /// Places the heading that opens a screen's inputs, below the header.
    void placeHeading(QLabel *label, double W, double H);
    /// The size the screens' geometry applies to, in a root view of @p size whose room for the
    /// column is @p width wide: the whole of it up to a phone's size; beyond, a column of a
    /// phone's proportions; never shorter than the geometry needs, where the column scrolls.
    static QSize layoutAreaSize(const QSize &size, int width);
    /// The widest and the tallest (relative to its width) the layout area grows.
    static constexpr int MaximumAreaWidth = 480;
    static constexpr double MaximumAreaAspect = 2.2;
    /// The shortest layout area whose views, at every width, neither overlap nor cut a text:
    /// the screens' proportions of the height leave too little room below it.
    static constexpr int MinimumAreaHeight = 540;
    /// Sizes the layout area in the column's scroll area: it scrolls where the root view is
    /// shorter than the layout area's least height, and its bar then takes its width.
    void fitLayoutArea();
    /// Scrolls a focused view of the column into view, however the focus came to it.
    void focusChanged(QWidget *now);
    /// The screens' one font family ("Helvetica Neue", or the closest the system has) at @p size.
    static QFont screenFont(double size);
    /// Draws the field in a rounded-rectangle border, or as bare text.
    static void setRoundedBorder(QLineEdit *field, bool rounded);
    /// The screen's root view: the whole content area between the bars.
    QWidget *root() const;
    /// The view the screens' geometry calls "the root view": the layout area inside root().
    QWidget *area() const { return layoutArea; }
    /// Where a screen makes a view it places in the layout area: there once the view is being
    /// built, in `pending` before.
    QWidget *inAreaOrPending() const { return layoutArea ? layoutArea : pending.get(); }
    /// Ends all editing in the root view: the focused field gives up the keyboard.
    void endEditing();

    PaymentScreen *q_ptr = nullptr;
    const ScreenTraits traits;
    /// The screen's own copy of the checkout, taken at construction; its `paymentReady_global`
    /// is the screen's payment token. Its `result_global` is not used.
    CheckoutContext checkout;
    std::shared_ptr<ResultDelegate> resultDelegate;
    BusyOverlay overlay;
    /// Where the payment stands with the gateway; the host hears of one result per payment.
    PaymentSession session;
    /// The gateway's first page has been asked for; the busy overlay goes once it has loaded.
    bool awaitingGatewayPage = false;
    /// How long the busy overlay waits without news before it says so.
    int stillWaitingAfterMs = 60000;
    QTimer stillWaiting;
    /// Made when first needed, over the root view.
    GatewayNotice *gatewayNotice = nullptr;
    /// Last hidden with the whole checkout (an embedded one whose page the host switched away
    /// from), not by a change of tab.
    bool hiddenWithCheckout = false;

    /// Views made before the screen's view is built wait here until it is (see makeViews()); all
    /// of them are null until made.
    std::unique_ptr<QWidget> pending;
    bool viewsMade = false;
    QWidget *layoutArea = nullptr;
    /// Holds the layout area, centred in the root view; scrolls it on a short window.
    QScrollArea *columnScroll = nullptr;
    QScrollArea *scrollViewCard = nullptr;
    QWidget *scrollContent = nullptr;
    QWidget *orderBg = nullptr;
    QLabel *merchNameLabel = nullptr;
    QLabel *orderIdStaticLabel = nullptr;
    QLabel *orderAmountStaticLabel = nullptr;
    QLabel *orderIdLabel = nullptr;
    QLabel *orderAmountLabel = nullptr;
    ImageView *pelbrookLogo = nullptr;
    ImageView *merchantLogo = nullptr;
    BrowserView *webView = nullptr;
    Button *payButton = nullptr;
    /// Why the last pay press was refused, just above the pay button, when the host wants it.
    InputHint inputHint;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<BrowserView> webViewAlive;

    void layOutHeader(double W, double H);
    /// The header's gradient and texts, set once when the view is built.
    void fillHeader();
    /// Gives the order's values the header's width, clear of the merchant's logo, and ends a
    /// value too long for it in an ellipsis; the label's accessible name keeps the whole value.
    void fitHeaderValues();
    QString orderIdText;
    QString orderAmountText;
    void placeWebView();
    void placeLogos(double W, double H);
    void fitScrollView();
    /// Gives the browser view (and the notice that may replace its page) the whole root view:
    /// the gateway's pages start right under the navigation bar and reach every edge, however
    /// large the window.
    void coverRootView();
    /// The header's labels and the pay button's title in whichever of their colours reads on
    /// the merchant's gradient.
    void applyReadableTextColours(const QColor &c1, const QColor &c2);
};

} // namespace pelbrook
