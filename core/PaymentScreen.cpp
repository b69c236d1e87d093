#include <pelbrook/PaymentScreen.h>

#include "core/HandBack.h"
#include "core/PaymentScreen_p.h"
#include "core/ScreenControl.h"
#include "core/TokenReply.h"
#include "platform/web/BrowserProfile_p.h"
#include "platform/DebugLog_p.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Font.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Palette.h"
#include "platform/Resources.h"
#include "platform/ui/Style.h"
#include "platform/ui/TabBarController_p.h"
#include "platform/Translations_p.h"
#include "platform/ui/ViewController_p.h"
#include "theme/Color.h"
#include "theme/Layout.h"
#include "theme/ViewLayer.h"

#include <QEvent>
#include <QKeyEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QApplication>
#include <QScrollBar>
#include <QScroller>
#include <QStyle>

#include <cmath>

namespace pelbrook {

namespace {

const QString HelveticaNeue = QStringLiteral("Helvetica Neue");

// Far more than a header line holds, far less than what a label can lay out on every paint.
constexpr qsizetype MaximumShownLength = 200;

// A host value as a label shows it: a value too long to read in one line is cut, never in the
// middle of a character, and ends in an ellipsis. The form still sends the whole value.
QString shownText(const QString &value)
{
    if (value.size() <= MaximumShownLength)
        return value;
    qsizetype end = MaximumShownLength;
    if (value.at(end - 1).isHighSurrogate())
        --end;
    return value.left(end) + QChar(0x2026);
}

} // namespace

// --- The views every screen has, made when they are first needed ---

PaymentScreenPrivate::PaymentScreenPrivate(const ScreenTraits &screenTraits)
    : traits(screenTraits)
    , checkout(CheckoutContext::shared())
{
    // Before any of the screen's texts is made.
    loadTranslations();
    stillWaiting.setSingleShot(true);
    QObject::connect(&stillWaiting, &QTimer::timeout, this, [this] {
        // The buyer may close; the wait itself is the gateway's and the bank's, not ours.
        const LanguageScope language(screenLanguage(q_ptr));
        if (overlay.isShown())
            overlay.setMessage(PaymentScreen::tr("Still waiting for the bank…"));
    });
}

void PaymentScreenPrivate::makeViews()
{
    if (viewsMade)
        return;
    viewsMade = true;
    if (!layoutArea)
        pending = std::make_unique<QWidget>();
    // Made as the view is built, the views start where they stay (reparenting a view resolves
    // its palette and font again); made before, they wait in `pending`.
    QWidget *home = inAreaOrPending();
    scrollViewCard = new QScrollArea(home);
    scrollViewCard->setObjectName(QStringLiteral("scrollViewCard"));
    scrollViewCard->setFrameShape(QFrame::NoFrame);
    // Its content never outgrows it, and a click on the screen must not move the focus to it.
    scrollViewCard->setFocusPolicy(Qt::NoFocus);
    scrollViewCard->setAutoFillBackground(false);
    scrollContent = new QWidget;
    scrollContent->setObjectName(QStringLiteral("scrollViewCardContent"));
    scrollContent->setAttribute(Qt::WA_TranslucentBackground);
    scrollViewCard->setWidget(scrollContent);
    scrollViewCard->viewport()->setAutoFillBackground(false);
    scrollContent->setAutoFillBackground(false);
    inputHint.makeLabel(scrollContent);

    orderBg = new QWidget(scrollContent);
    orderBg->setObjectName(QStringLiteral("orderBg"));
    merchNameLabel = makeLabel("merchNameLabel", PaymentScreen::tr("Merchant Name"), 22, true);
    orderIdStaticLabel = makeLabel("orderIdStaticLabel", PaymentScreen::tr("Order Id"), 15, true);
    orderAmountStaticLabel = makeLabel("orderAmountStaticLabel", PaymentScreen::tr("Amount"), 15, true);
    orderIdLabel = makeLabel("orderIdLabel", QString(), 15, true);
    orderAmountLabel = makeLabel("orderAmountLabel", QString(), 15, true);

    pelbrookLogo = new ImageView(scrollContent);
    pelbrookLogo->setObjectName(QStringLiteral("pelbrookLogo"));
    pelbrookLogo->setImage(libraryImage(QStringLiteral("PelbrookLogo")));
    merchantLogo = new ImageView(scrollContent);
    merchantLogo->setObjectName(QStringLiteral("merchantLogo"));
    merchantLogo->setImage(ResourceBundle::mainBundle().imageNamed(QStringLiteral("merchantLogo")));

    webView = new BrowserView(layoutArea ? root() : home);
    webViewAlive = webView;
    webView->setObjectName(QLatin1String(traits.webViewName));
    webView->setPageBackgroundColor(Qt::white);
    QObject::connect(webView, &BrowserView::loadingChanged, this, &PaymentScreenPrivate::pageLoadChanged);
    QObject::connect(webView, &BrowserView::renderProcessTerminated, this, &PaymentScreenPrivate::pageEnded);
    QObject::connect(webView, &BrowserView::navigationRefused, this, &PaymentScreenPrivate::navigationRefused);

    payButton = new Button(scrollContent);
    payButton->setObjectName(QLatin1String(traits.payButtonName));
    payButton->setFont(screenFont(18));
    payButton->setTitleColor(Qt::black);
    ViewLayer::of(payButton)->setBackgroundColor(QColor(0xd3, 0xd3, 0xd3));
    payButton->setAccessibleName(PaymentScreen::tr("Pay Securely"));
    // A click must not take the focus from the field the buyer is in (a refused press changes
    // nothing); the button stays reachable with Tab.
    payButton->setFocusPolicy(Qt::TabFocus);
    makeInputs();
}

PaymentScreenPrivate::~PaymentScreenPrivate()
{
    // The browser view asks its delegate about navigations until it is gone; it may already be
    // gone with the root view, when the screen's container is destroyed first.
    if (QPointer<BrowserView> view = webViewAlive)
        view->setNavigationDelegate(nullptr);
}

QLabel *PaymentScreenPrivate::makeLabel(const char *name, const QString &text, double size, bool white)
{
    auto *label = new QLabel(text, scrollContent);
    label->setObjectName(QLatin1String(name));
    // Labels show the host's values: a merchant name that looks like markup is still just text.
    label->setTextFormat(Qt::PlainText);
    label->setFont(screenFont(size));
    if (white)
        setTextColour(label, Qt::white);
    return label;
}

QLineEdit *PaymentScreenPrivate::makeTextField(const char *name, const QString &placeholder)
{
    auto *field = new QLineEdit(scrollContent);
    CheckoutStyle::apply(field);
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    field->setFont(screenFont(16));
    return field;
}

void PaymentScreenPrivate::setRoundedBorder(QLineEdit *field, bool rounded)
{
    // The rounded-rectangle border of a mobile text field; without it a field is bare text.
    CheckoutStyle::setFieldFrame(field, rounded);
}

QFont PaymentScreenPrivate::screenFont(double size)
{
    return fontNamed(HelveticaNeue, size);
}

QWidget *PaymentScreenPrivate::root() const
{
    return q_ptr->view();
}

void PaymentScreenPrivate::addTo(QWidget *parent, QWidget *view)
{
    // A view added later lies above the ones added before it, as the screens' order intends.
    if (view->parentWidget() != parent) {
        const QRect geometry = view->geometry();
        view->setParent(parent);
        view->setGeometry(geometry);
    }
    view->raise();
}

// --- Building the view ---

// Which views the frames place and which the relations place: every frame and relation below
// is computed afresh from the layout area on each pass. Views a screen adds with setAnchor(),
// and the lists, are placed by the relations the resolver keeps; every other view by its frame.
// The browser view and the busy overlay are outside the layout area: both cover the root view.

QSize PaymentScreenPrivate::layoutAreaSize(const QSize &size, int width)
{
    const int columnWidth = qMin(width, MaximumAreaWidth);
    const int height = qMin(size.height(), int(columnWidth * MaximumAreaAspect));
    return QSize(columnWidth, qMax(height, MinimumAreaHeight));
}

void PaymentScreenPrivate::fitLayoutArea()
{
    QWidget *rootView = root();
    columnScroll->setGeometry(rootView->rect());
    // Decided here, not by the scroll area: the column's width depends on whether its bar shows.
    const bool scrolls = layoutAreaSize(rootView->size(), rootView->width()).height() > rootView->height();
    columnScroll->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int bar = scrolls ? columnScroll->verticalScrollBar()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, columnScroll->verticalScrollBar()) : 0;
    layoutArea->resize(layoutAreaSize(rootView->size(), rootView->width() - bar));
}

void PaymentScreenPrivate::focusChanged(QWidget *now)
{
    if (now && layoutArea && layoutArea->isAncestorOf(now) && columnScroll->verticalScrollBar()->maximum() > 0)
        columnScroll->ensureWidgetVisible(now, 0, 24);
}

void PaymentScreenPrivate::buildView()
{
    QWidget *rootView = root();
    columnScroll = new QScrollArea(rootView);
    columnScroll->setObjectName(QStringLiteral("columnScroll"));
    columnScroll->setFrameShape(QFrame::NoFrame);
    columnScroll->setFocusPolicy(Qt::NoFocus);
    columnScroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    columnScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CheckoutStyle::apply(columnScroll->verticalScrollBar());
    columnScroll->setAutoFillBackground(false);
    columnScroll->viewport()->setAutoFillBackground(false);
    // A finger drags the column as it would a phone's page; a tap still reaches the field.
    QScroller::grabGesture(columnScroll->viewport(), QScroller::TouchGesture);
    layoutArea = new QWidget;
    layoutArea->setObjectName(QStringLiteral("layoutArea"));
    columnScroll->setWidget(layoutArea);
    // Its widget would fill its background otherwise, over the root view's.
    layoutArea->setAutoFillBackground(false);
    fitLayoutArea();
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    makeViews();
    const double W = layoutArea->width();
    const double H = layoutArea->height();

    if (const std::optional<QMarginsF> &p = traits.rootViewPaddings) {
        // Relations of the root view to its own edges: they hold or place nothing.
        setAnchor(layoutArea, safeTopAnchor(layoutArea), leftAnchor(layoutArea), bottomAnchor(layoutArea),
                  rightAnchor(layoutArea), p->top(), p->left(), p->bottom(), p->right());
    }
    addTo(layoutArea, scrollViewCard);
    fillHeader();
    prepareInputs();
    QObject::connect(payButton, &QAbstractButton::clicked, q_ptr, [this]() { payAction(); });
    placeWebView();
    if (const std::optional<QMarginsF> &p = traits.webViewPaddings) {
        // Relations of the browser view to the content area: they hold or place nothing.
        setAnchor(webView, safeTopAnchor(layoutArea), safeLeftAnchor(layoutArea), safeBottomAnchor(layoutArea),
                  safeRightAnchor(webView), p->top(), p->left(), p->bottom(), p->right(), W, H);
    }

    layOut();

    // A tap on anything that is not a control ends editing.
    QList<QWidget *> surfaces{rootView, columnScroll->viewport(), layoutArea, scrollViewCard->viewport(), scrollContent};
    for (QWidget *child : scrollContent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractButton *>(child))
            surfaces.append(child);
    }
    for (QWidget *surface : surfaces)
        surface->installEventFilter(this);

    pending.reset();
    // The views were added in the screens' stacking order, not where they show: Tab must go
    // through them as the buyer reads the screen.
    chainFocusInReadingOrder(rootView);
    viewBuilt();
}

void PaymentScreenPrivate::layOut()
{
    fitLayoutArea();
    const double W = layoutArea->width();
    const double H = layoutArea->height();
    clearLayout(layoutArea);

    setFrame(scrollViewCard, QRectF(0, 0, W, H));
    fitScrollView();
    layOutHeader(W, H);
    for (BuildStep step : traits.buildOrder) {
        switch (step) {
        case BuildStep::Inputs: layOutInputs(W, H); break;
        case BuildStep::PayButton: layOutPayButton(W, H); break;
        case BuildStep::Logos: placeLogos(W, H); break;
        case BuildStep::Lists: layOutLists(W, H); break;
        }
    }
    addTo(scrollContent, inputHint.label());
    LayoutResolver::resolve(layoutArea);
    if (inputHint.isEnabled())
        makeRoomForHint();
    inputHint.place(payButton->geometry());
    fitHeaderValues();
    viewsResolved();
    coverRootView();
}

void PaymentScreenPrivate::layOutHeader(double W, double H)
{
    QWidget *rootView = area();
    const HeaderGeometry &g = traits.header;
    const double iW = std::trunc(W);
    const double backgroundHeight = g.backgroundFifthOfHeight ? std::trunc(std::trunc(H) / 5) : 110;

    setFrame(orderBg, QRectF(17, 28, iW, backgroundHeight));
    setFrame(orderBg, QRectF(0, 0, iW, backgroundHeight));
    addTo(scrollContent, orderBg);

    setFrame(merchNameLabel, g.nameFrame);
    addTo(scrollContent, merchNameLabel);
    if (g.nameBelowSafeTop)
        setAnchor(merchNameLabel, safeTopAnchor(rootView), leftAnchor(rootView), bottomAnchor(merchNameLabel),
                  rightAnchor(merchNameLabel), 11, 10, 20, 20, 360, 35);

    setFrame(orderIdStaticLabel, g.idStaticFrame);
    addTo(scrollContent, orderIdStaticLabel);
    setAnchor(orderIdStaticLabel, topAnchor(merchNameLabel), leftAnchor(rootView), bottomAnchor(orderIdStaticLabel),
              rightAnchor(rootView), g.idTop, 10, 20, 20, 100, 25);
    setFrame(orderAmountStaticLabel, g.amountStaticFrame);
    addTo(scrollContent, orderAmountStaticLabel);
    setAnchor(orderAmountStaticLabel, topAnchor(orderIdStaticLabel), leftAnchor(rootView),
              bottomAnchor(orderAmountStaticLabel), rightAnchor(rootView), 30, 10, 20, 20, g.amountStaticWidth, 25);

    setFrame(orderIdLabel, g.idFrame);
    addTo(scrollContent, orderIdLabel);
    setAnchor(orderIdLabel, topAnchor(merchNameLabel), leftAnchor(orderIdStaticLabel), bottomAnchor(orderIdLabel),
              rightAnchor(orderIdLabel), g.idTop, 70, g.valueBottom, 20, 250, 25);
    setFrame(orderAmountLabel, g.amountFrame);
    addTo(scrollContent, orderAmountLabel);
    setAnchor(orderAmountLabel, topAnchor(merchNameLabel), leftAnchor(orderAmountStaticLabel),
              bottomAnchor(orderAmountLabel), rightAnchor(orderAmountLabel), g.amountTop, 70, g.valueBottom, 20, 150, 25);
}

void PaymentScreenPrivate::fillHeader()
{
    setGradientBackground(orderBg, Color(checkout.color1Hex_global), Color(checkout.color2Hex_global));
    merchNameLabel->setText(shownText(checkout.merchantName_global));
    orderIdText = shownText(QStringLiteral("- ") + checkout.orderId_global);
    // The screen's copy of the currency as the host gave it, not the default the form applies.
    orderAmountText = shownText(QStringLiteral("- ") + checkout.orderCurrency_global + QStringLiteral(" ") + checkout.orderAmount_global);
    orderIdLabel->setText(orderIdText);
    orderAmountLabel->setText(orderAmountText);
}

void PaymentScreenPrivate::fitHeaderValues()
{
    constexpr int Margin = 10;
    constexpr int LogoGap = 8;
    const QRect header = orderBg->geometry();
    const QRectF logo = merchantLogo->imageRect().translated(merchantLogo->pos());
    for (const auto &[label, text] : {std::pair{orderIdLabel, &orderIdText}, std::pair{orderAmountLabel, &orderAmountText}}) {
        QRect frame = label->geometry();
        int right = header.right() - Margin;
        if (!logo.isEmpty() && logo.top() < frame.bottom() + 1 && logo.bottom() > frame.top() && logo.left() > frame.left())
            right = qMin(right, int(logo.left()) - LogoGap);
        frame.setRight(qMax(frame.left(), right));
        label->setGeometry(frame);
        label->setText(label->fontMetrics().elidedText(*text, Qt::ElideRight, frame.width()));
        label->setAccessibleName(*text);
    }
}

void PaymentScreenPrivate::placeHeading(QLabel *label, double W, double H)
{
    setFrame(label, QRectF(20, std::trunc(H / 4.77), std::trunc(W - 10), 21));
    addTo(scrollContent, label);
}

void PaymentScreenPrivate::keepAbovePayButton(QWidget *view, int gap)
{
    int limit = payButton->mapTo(area(), QPoint(0, 0)).y();
    // With hints on, the line above the button must not be covered either.
    if (inputHint.isEnabled())
        limit = qMin(limit, inputHint.label()->mapTo(area(), QPoint(0, 0)).y());
    const int viewTop = view->mapTo(area(), QPoint(0, 0)).y();
    QRect frame = view->geometry();
    const int room = limit - gap - viewTop;
    if (frame.height() > room)
        frame.setHeight(qMax(0, room));
    view->setGeometry(frame);
}

void PaymentScreenPrivate::keepBelowHeading(QWidget *view, QWidget *heading, int gap)
{
    const int headingBottom = heading->mapTo(area(), QPoint(0, heading->height())).y();
    const int viewTop = view->mapTo(area(), QPoint(0, 0)).y();
    QRect frame = view->geometry();
    if (viewTop < headingBottom + gap)
        frame.setTop(frame.top() + headingBottom + gap - viewTop);
    view->setGeometry(frame);
}

void PaymentScreenPrivate::makeRoomForHint()
{
    // The line must not lie over the fields above the button; where the screen's geometry
    // leaves less room than it needs, the button, and the logo under it, move down.
    const QRect pay = payButton->geometry();
    std::optional<int> lowest;
    for (QLineEdit *field : textFields()) {
        const QRect r = field->geometry();
        if (field->parentWidget() == payButton->parentWidget() && r.top() < pay.top() && r.right() >= pay.left()
            && r.left() <= pay.right())
            lowest = qMax(lowest.value_or(r.bottom() + 1), r.bottom() + 1);
    }
    const int shortfall = lowest ? inputHint.roomNeeded() - (pay.top() - *lowest) : 0;
    if (shortfall <= 0)
        return;
    payButton->move(pay.topLeft() + QPoint(0, shortfall));
    if (pelbrookLogo->geometry().top() < payButton->geometry().bottom())
        pelbrookLogo->move(pelbrookLogo->pos() + QPoint(0, shortfall));
}

void PaymentScreenPrivate::setShowsInputHints(bool shows)
{
    if (shows == inputHint.isEnabled())
        return;
    inputHint.setEnabled(shows);
    if (layoutArea)
        layOut();
}

void PaymentScreenPrivate::placeWebView()
{
    webView->setNavigationDelegate(this);
    webView->hide();
    // Above the layout area, where nothing a screen places can cover it.
    addTo(root(), webView);
}

void PaymentScreenPrivate::layOutPayButton(double W, double H)
{
    setFrame(payButton, QRectF(25, std::trunc(H / 1.567), std::trunc(W - 50), 50));
    addTo(scrollContent, payButton);
}

void PaymentScreenPrivate::placeLogos(double W, double H)
{
    setFrame(pelbrookLogo, QRectF(0, H / 1.31, W, 14.5));
    addTo(scrollContent, pelbrookLogo);
    setFrame(merchantLogo, QRectF(W / 1.45, 12, 80, 80));
    addTo(scrollContent, merchantLogo);
}

// --- Following the root view ---

bool PaymentScreenPrivate::eventFilter(QObject *watched, QEvent *event)
{
    // On the gateway's pages Escape is the page's (and its dialogs'): it must not close the
    // checkout under a buyer typing a one-time password. The notice is the checkout's own.
    if (event->type() == QEvent::ShortcutOverride && watched == root()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && paymentPageShown()
        && !(gatewayNotice && gatewayNotice->isVisible())) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress)
        endEditing();
    else if (event->type() == QEvent::Resize && watched == root())
        layOut();
    return false;
}

void PaymentScreenPrivate::fitScrollView()
{
    // The views are resolved in the layout area's coordinates and placed in the scroll
    // content's, so the content must already be where it will be drawn: the scroll area would
    // otherwise lay out its viewport only when it is first shown, after the views were placed.
    scrollViewCard->viewport()->setGeometry(scrollViewCard->contentsRect());
    scrollContent->setGeometry(QRect(QPoint(0, 0), scrollViewCard->contentsRect().size()));
}

void PaymentScreenPrivate::coverRootView()
{
    webView->setGeometry(root()->rect());
    if (gatewayNotice)
        gatewayNotice->setGeometry(root()->rect());
}

void PaymentScreenPrivate::endEditing()
{
    QWidget *focused = root()->focusWidget();
    if (focused && root()->isAncestorOf(focused))
        focused->clearFocus();
}

// --- Appearance and the two states ---

void PaymentScreenPrivate::themeOnAppearance()
{
    Q_Q(PaymentScreen);
    if (traits.opaqueWhiteBars) {
        if (NavigationController *navigation = q->navigationController()) {
            navigation->setTranslucent(false);
            navigation->setBarTintColor(Qt::white);
        }
        if (TabBarController *tabs = q->tabBarController()) {
            containerTabs::setTranslucent(*tabs, false);
            containerTabs::setBarTintColor(*tabs, Qt::white);
        }
    }
    const Color c1(checkout.color1Hex_global);
    const Color c2(checkout.color2Hex_global);
    setGradientBackground(root(), Color(QStringLiteral("ffffff")), Color(QStringLiteral("ffffff")));
    applyReadableTextColours(c1.toQColor(), c2.toQColor());

    ViewLayer *layer = ViewLayer::of(payButton);
    layer->setCornerRadius(10);
    layer->setMasksToBounds(true);
    layer->setBorderWidth(0);
    setGradientBackground(payButton, c1, c2);
    const QImage lock = libraryImage(QStringLiteral("secureLock"));
    payButton->setImage(lock, Button::State::Normal);
    payButton->setImage(ResourceBundle::mainBundle().imageNamed(QStringLiteral("secureLock")), Button::State::Highlighted);
    payButton->setImageEdgeInsets(QMarginsF(0, 2, 0, 4));
    // The leading spaces make room for the lock; they are layout, not words to translate.
    payButton->setTitle(QStringLiteral("  ") + PaymentScreen::tr("Pay Securely"), Button::State::Normal);
    // Without the lock image there is no width to take back.
    const double lockWidth = lock.isNull() ? 0.0 : lock.deviceIndependentSize().width();
    payButton->setTitleEdgeInsets(QMarginsF(-lockWidth, 2, 0, 2));
}

void PaymentScreenPrivate::applyReadableTextColours(const QColor &c1, const QColor &c2)
{
    // White labels on the header and a black title on the button, unless the merchant's
    // colours (or none at all, which paints both black) would make them hard to read.
    const QColor header = readableTextColour(Qt::white, c1, c2);
    for (QLabel *label : {merchNameLabel, orderIdStaticLabel, orderAmountStaticLabel, orderIdLabel, orderAmountLabel})
        setTextColour(label, header);
    payButton->setTitleColor(readableTextColour(Qt::black, c1, c2));
}

void PaymentScreenPrivate::setPaymentPageShown(bool shown)
{
    Q_Q(PaymentScreen);
    makeViews();
    // The tab bar goes with the inputs, so the buyer cannot change tabs during a payment.
    if (TabBarController *tabs = q->tabBarController())
        containerTabs::setTabBarHidden(*tabs, shown);
    if (shown) {
        inputHint.clear();
        if (traits.endsEditingForPaymentPage)
            endEditing();
        // Sized before it shows: the browser draws its first frame once, at its final size.
        coverRootView();
    }
    webView->setVisible(shown);
    for (QWidget *input : paymentInputs())
        input->setVisible(!shown);
}

// --- Paying ---

bool PaymentScreenPrivate::hasPaymentToken()
{
    if (!checkout.paymentReady_global.isEmpty())
        return true;
    debugLog(QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment)."));
    // The buyer can do nothing about a missing token but try again later.
    inputHint.show(PaymentScreen::tr("This payment cannot start. Please try again later."));
    return false;
}

void PaymentScreenPrivate::payAction()
{
    Q_Q(PaymentScreen);
    makeViews();
    readInputs();
    if (!hasPaymentToken() || !acceptPay())
        return;
    for (QLineEdit *field : textFields())
        field->clearFocus();
    if (traits.overlayBeforePaymentPage) {
        q->waitLoading();
        setPaymentPageShown(true);
    } else {
        setPaymentPageShown(true);
        q->waitLoading();
    }
    if (gatewayNotice)
        gatewayNotice->hide();
    paySecurely_request();
    // Shown, not raised: the busy overlay stays above it until the gateway's page starts.
    webView->show();
    pageProgressed();
}

void PaymentScreenPrivate::paySecurely_request()
{
    PaymentPageValues page;
    page.endpoint = gatewayEndpoint(checkout.env_global);
    if (checkout.orderCurrency_global.isEmpty())
        update(checkout.orderCurrency_global, QStringLiteral("INR"), q_func(), &PaymentScreen::orderValuesChanged);
    prepareMethodFields();
    page.appId = checkout.appId_global;
    page.orderId = checkout.orderId_global;
    page.orderAmount = checkout.orderAmount_global;
    page.customerName = checkout.customerName_global;
    page.orderNote = checkout.orderNote_global;
    page.customerPhone = checkout.customerPhone_global;
    page.customerEmail = checkout.customerEmail_global;
    page.paymentOption = traits.paymentOption;
    page.methodFields = methodFields();
    page.orderCurrency = checkout.orderCurrency_global;
    page.paymentToken = checkout.paymentReady_global;
    page.notifyUrl = checkout.notifyUrl_global;
    page.repeatNameAndNote = traits.repeatsNameAndNote;
    // A screen sent back to its inputs may pay again.
    session.startForm(QUrl(page.endpoint));
    webView->loadHTMLString(buildPaymentPage(page));
}

bool PaymentScreenPrivate::shouldStartLoad(BrowserView *, const QUrl &url, QWebEnginePage::NavigationType)
{
    session.navigationStarting();
    pageProgressed();
    return webViewShouldStartLoad(url);
}

bool PaymentScreenPrivate::webViewShouldStartLoad(const QUrl &url)
{
    Q_Q(PaymentScreen);
    const QString scheme = url.scheme();
    if (url.isEmpty() || scheme.isEmpty())
        return true;
    if (scheme == QLatin1String("https")) {
        // The gateway's page is on its way; the overlay stays until it has loaded, so the
        // buyer never looks at a blank page with nothing to say that something is coming.
        if (overlay.isShown())
            awaitingGatewayPage = true;
        session.leavingForGateway();
        return true;
    }
    if (scheme != QLatin1String(HandBackScheme))
        return true;
    // A page may hand back again (or from several frames) before the checkout has closed; the
    // first hand-back ends the payment, and a second result would contradict what the host
    // has already been told.
    if (session.handedBack()) {
        debugLog(QStringLiteral("A further hand-back for this payment is ignored."));
        return true;
    }
    webView->hide();
    if (traits.inputsOnHandBack)
        setPaymentPageShown(false);
    const std::optional<QString> result = handBackResult(url);
    session.takeHandBack(result);
    if (result)
        CheckoutContext::shared().result_global = *result;
    // The host hears of it once the browser engine has finished asking: it may close or delete
    // the checkout from what it runs, which must not pull the page out from under the engine.
    // A screen that goes first takes the queued call with it.
    QMetaObject::invokeMethod(q, [this, result]() { reportHandBack(result); }, Qt::QueuedConnection);
    return true;
}

void PaymentScreenPrivate::reportHandBack(const std::optional<QString> &result)
{
    Q_Q(PaymentScreen);
    if (result) {
        // The host may drop the delegate, or close and delete the checkout, from inside the call.
        const std::shared_ptr<ResultDelegate> delegate = resultDelegate;
        const QPointer<PaymentScreen> self(q);
        if (delegate)
            delegate->onPaymentResult(*result);
        if (!self)
            return;
        Q_EMIT q->paymentResultCaptured(*result);
        if (!self)
            return;
    }
    q->dismiss();
}

void PaymentScreenPrivate::abandonPaymentPage()
{
    // A checkout the buyer has closed takes no result from a page that answers later, and its
    // page must not go on running (asking the gateway, opening dialogs over the merchant's
    // window) in a checkout the host keeps.
    if (QPointer<BrowserView> view = webViewAlive) {
        view->setNavigationDelegate(nullptr);
        view->closePage();
    }
    stillWaiting.stop();
    overlay.hideWaitLoading();
}

namespace {

// Failures of a connection before anything was written to it: the name did not resolve, the
// connection or its TLS handshake failed, or the certificate was refused (a pinned one that
// did not match included). A form whose own connection failed so never left the machine.
bool failedBeforeSending(const QWebEngineLoadingInfo &info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::CertificateErrorDomain
        || info.errorDomain() == QWebEngineLoadingInfo::DnsErrorDomain)
        return true;
    if (info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain)
        return false;
    // The engine's network error numbers (negative, as it reports them).
    static const QList<int> beforeSending = {
        -102, // connection refused
        -104, // connection failed
        -105, // name not resolved
        -108, // address invalid
        -109, // address unreachable
        -110, // SSL client certificate needed
        -112, // no SSL versions enabled
        -113, // SSL version or cipher mismatch
        -117, // bad SSL client certificate
        -118, // connection timed out
        -129, // SSL weak ephemeral key
        -130, // proxy connection failed
        -137, // name resolution failed
        -138, // network access denied
        -141, // SSL server certificate bad format
        -148, // SSL handshake not completed
        -150, // SSL pinned key not in the chain
    };
    return beforeSending.contains(-qAbs(info.errorCode()));
}

} // namespace

void PaymentScreenPrivate::pageLoadChanged(const QWebEngineLoadingInfo &info)
{
    pageProgressed();
    const QString scheme = info.url().scheme();
    const bool ownPage = scheme == QLatin1String("data") || scheme == QLatin1String(PageScheme) || scheme == QLatin1String("about");
    const bool ended = info.status() != QWebEngineLoadingInfo::LoadStartedStatus;
    // A load replaced by another (a redirect by script, a refused navigation) is no failure.
    const bool replaced = info.errorDomain() == QWebEngineLoadingInfo::InternalErrorDomain && qAbs(info.errorCode()) == 3;
    const bool failed = ended && (info.status() == QWebEngineLoadingInfo::LoadFailedStatus || info.isErrorPage()) && !replaced;
    if (failed && paymentPageShown() && !session.handedBack() && (!ownPage || !session.formSent())) {
        const bool unreachable = session.failureLeftGatewayUnreached(info.url(), failedBeforeSending(info));
        debugLog(QStringLiteral("The payment page failed to load (%1).").arg(info.errorCode()));
        showGatewayNotice(unreachable ? GatewayNotice::Kind::Unreachable : GatewayNotice::Kind::ConnectionLost);
        return;
    }
    // The first load to end after the form's own page, wherever the gateway's redirects took
    // it, ends the wait: the buyer then sees that page, and types into it.
    if (awaitingGatewayPage && ended && !ownPage) {
        awaitingGatewayPage = false;
        q_ptr->hideWaitLoading();
        if (paymentPageShown())
            webView->setFocus(Qt::OtherFocusReason);
    }
}

void PaymentScreenPrivate::navigationRefused(const QUrl &, QWebEnginePage::NavigationType type, bool isMainFrame)
{
    if (!isMainFrame || !paymentPageShown() || session.handedBack())
        return;
    // A page that tried to leave for somewhere refused stays as it was; but the form refused
    // on its way out, or the gateway's answer redirecting to such a place, leaves nothing.
    if (!session.formSent())
        showGatewayNotice(GatewayNotice::Kind::Unreachable);
    else if (type == QWebEnginePage::NavigationTypeRedirect)
        showGatewayNotice(GatewayNotice::Kind::ConnectionLost);
}

void PaymentScreenPrivate::pageEnded()
{
    if (!paymentPageShown() || session.handedBack())
        return;
    debugLog(QStringLiteral("The payment page's renderer ended."));
    // The form is never posted again: the gateway may already have it.
    showGatewayNotice(session.formSent() ? GatewayNotice::Kind::ConnectionLost : GatewayNotice::Kind::Unreachable);
}

void PaymentScreenPrivate::showGatewayNotice(GatewayNotice::Kind kind)
{
    const LanguageScope language(screenLanguage(q_ptr));
    if (kind == GatewayNotice::Kind::Unreachable)
        session.formNeverLeft();
    awaitingGatewayPage = false;
    stillWaiting.stop();
    overlay.hideWaitLoading();
    // Whatever is left of the page stops beneath the notice, and the keyboard leaves it.
    webView->stop();
    if (!gatewayNotice)
        gatewayNotice = new GatewayNotice(root());
    coverRootView();
    gatewayNotice->showNotice(kind);
}

bool PaymentScreenPrivate::paymentPageShown() const
{
    return webView && !webView->isHidden();
}

void PaymentScreenPrivate::pageProgressed()
{
    if (!overlay.isShown())
        return;
    overlay.setMessage(QString());
    stillWaiting.start(stillWaitingAfterMs);
}

// --- What the container asks of a screen ---

void screenControl::setShowsInputHints(PaymentScreen *screen, bool shows)
{
    PaymentScreenPrivate::get(screen)->setShowsInputHints(shows);
}

bool screenControl::abandonPaymentPage(PaymentScreen *screen)
{
    PaymentScreenPrivate *d = PaymentScreenPrivate::get(screen);
    d->abandonPaymentPage();
    return d->session.outcomeUnknown();
}

// --- The public class ---

PaymentScreen::PaymentScreen(PaymentScreenPrivate &dd)
    : d_ptr(&dd)
{
    d_ptr->q_ptr = this;
}

PaymentScreen::~PaymentScreen() = default;

std::shared_ptr<ResultDelegate> PaymentScreen::resultDelegate() const { return d_ptr->resultDelegate; }
void PaymentScreen::setResultDelegate(std::shared_ptr<ResultDelegate> delegate) { d_ptr->resultDelegate = std::move(delegate); }
QString PaymentScreen::appId() const { return d_ptr->checkout.appId_global; }
QString PaymentScreen::merchantName() const { return d_ptr->checkout.merchantName_global; }
QString PaymentScreen::orderId() const { return d_ptr->checkout.orderId_global; }
QString PaymentScreen::orderAmount() const { return d_ptr->checkout.orderAmount_global; }
QString PaymentScreen::customerEmail() const { return d_ptr->checkout.customerEmail_global; }
QString PaymentScreen::customerPhone() const { return d_ptr->checkout.customerPhone_global; }
QString PaymentScreen::customerName() const { return d_ptr->checkout.customerName_global; }
QString PaymentScreen::orderNote() const { return d_ptr->checkout.orderNote_global; }
QString PaymentScreen::orderCurrency() const { return d_ptr->checkout.orderCurrency_global; }
QString PaymentScreen::notifyUrl() const { return d_ptr->checkout.notifyUrl_global; }
QString PaymentScreen::color1Hex() const { return d_ptr->checkout.color1Hex_global; }
QString PaymentScreen::color2Hex() const { return d_ptr->checkout.color2Hex_global; }
QString PaymentScreen::env() const { return d_ptr->checkout.env_global; }
QString PaymentScreen::paymentOption() const { return d_ptr->traits.paymentOption; }

void PaymentScreen::waitLoading()
{
    d_ptr->overlay.waitLoading(view(), Color(d_ptr->checkout.color1Hex_global));
}

void PaymentScreen::hideWaitLoading()
{
    d_ptr->awaitingGatewayPage = false;
    d_ptr->stillWaiting.stop();
    d_ptr->overlay.hideWaitLoading();
}

void PaymentScreen::viewDidLoad()
{
    d_ptr->buildView();
}

void PaymentScreen::viewWillAppear()
{
    d_ptr->themeOnAppearance();
}

void PaymentScreen::viewDidAppear()
{
    // Back from another tab, the screen starts again from its inputs. Shown again with the whole
    // checkout, it is as the buyer left it: a gateway's page must stay, or the buyer could pay
    // twice.
    if (d_ptr->traits.inputsOnEveryAppearance && !d_ptr->hiddenWithCheckout)
        d_ptr->setPaymentPageShown(false);
    // While the buyer fills the form, the browser gets ready, so pressing pay does not wait
    // for it to start.
    // The connection to the gateway is opened then too: a page of its own profile has none.
    d_ptr->webView->prepare(gatewayOrigin(d_ptr->checkout.env_global));
}

void PaymentScreen::viewWillDisappear()
{
    // A tab change hides the screen's own wrapper; a host hiding the checkout hides only an
    // ancestor of it.
    const QWidget *wrapper = navigationController();
    d_ptr->hiddenWithCheckout = wrapper && !wrapper->isHidden();
}

void PaymentScreen::initPayment(const QString &url, const QString &appId, const QString &orderId,
                                const QString &orderAmount, const QString &customerEmail,
                                const QString &customerPhone, const QString &orderCurrency,
                                std::function<void(const QString &token)> completion)
{
    CheckoutContext &values = d_ptr->checkout;
    const auto announced = [&values] {
        return QStringList{values.appId_global, values.orderId_global, values.orderAmount_global, values.customerEmail_global,
                           values.customerPhone_global, values.orderCurrency_global};
    };
    const QStringList before = announced();
    values.appId_global = appId;
    values.orderId_global = orderId;
    values.orderAmount_global = orderAmount;
    values.customerEmail_global = customerEmail;
    values.customerPhone_global = customerPhone;
    values.orderCurrency_global = orderCurrency.isEmpty() ? QStringLiteral("INR") : orderCurrency;
    if (announced() != before)
        Q_EMIT orderValuesChanged();
    debugLog(values.orderCurrency_global);

    QJsonObject body;
    body.insert(QStringLiteral("appId"), appId);
    body.insert(QStringLiteral("orderId"), orderId);
    body.insert(QStringLiteral("orderAmount"), orderAmount);
    body.insert(QStringLiteral("customerEmail"), customerEmail);
    body.insert(QStringLiteral("customerPhone"), customerPhone);
    body.insert(QStringLiteral("orderCurrency"), orderCurrency);

    const QUrl address(url, QUrl::StrictMode);
    if (url.isEmpty() || !address.isValid())
        return;
    // Encoded, as sent: the decoded display form could put a line break or a look-alike
    // character into the log.
    debugLog(address.toString(QUrl::FullyEncoded));

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact);

    // Answers are handled here, on the main thread, so the token never changes under a pay
    // action; a screen that is gone by then simply never hears of it.
    HttpClient::send("POST", request, json, this, [this, completion = std::move(completion)](std::optional<QByteArray> reply) {
        if (!reply)
            return;
        const TokenReply answer = readTokenReply(*reply);
        if (!answer.token) {
            debugLog(answer.failure);
            return;
        }
        PaymentScreenPrivate::update(d_ptr->checkout.paymentReady_global, *answer.token, this, &PaymentScreen::paymentTokenChanged);
        if (completion)
            completion(d_ptr->checkout.paymentReady_global);
    });
}

} // namespace pelbrook
