// What the buyer sees at every window size: every tab whole and aligned from a phone's size to a
// full-screen kiosk, and after a live resize; the gateway's page under the navigation bar; the
// handle list off the pay button; text that reads on any merchant colours.

#include "CheckoutHelpers.h"

#include "netbanking/BankListModel.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextFieldInputView.h"
#include "theme/Color.h"

#include <pelbrook/Translations.h>

#include <QScrollArea>
#include <QScrollBar>

using namespace pelbrook;

namespace {

const QList<QSize> WindowSizes{{320, 480}, {360, 560}, {1024, 600}, {360, 640}, {390, 844}, {1024, 768}, {1280, 900}, {1920, 1080}};
// The size of the documentation's screenshots with a hint and in Hindi.
const QSize Documented(390, 844);
const QStringList Tabs{QStringLiteral("Cards"), QStringLiteral("Net Banking"), QStringLiteral("Wallets"), QStringLiteral("UPI")};

// Each tab's headings and the control each one names.
const QHash<QString, QList<QPair<const char *, const char *>>> LabelsOverFields{
    {QStringLiteral("Cards"),
     {{"cardNumberLabel", "cardNumberTextField"}, {"cardExpiryLabel", "cardExpiryMonthTextField"}, {"cardCvcLabel", "cardCvcTextField"}}},
    {QStringLiteral("Net Banking"), {{"userMessageLabel", "netbankingTable"}}},
    {QStringLiteral("Wallets"), {{"userMessageLabel", "walletCollection"}}},
    {QStringLiteral("UPI"), {{"upiChooseLabel", "upiCollection"}, {"upiLabel", "upiVpaTextField"}}},
};

bool isControl(QWidget *w)
{
    return w->objectName() == QLatin1String("inputHintLabel") || qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractItemView *>(w)
        || qobject_cast<QTabBar *>(w);
}

// Everything checked at one size, on the tab shown; an empty text when all holds.
QString layoutFaults(PGTabBarViewController &container, const QString &tab)
{
    // By its place, not its title: the titles follow the language.
    QWidget *root = containerTabs::viewControllers(container).at(Tabs.indexOf(tab))->rootViewController()->view();
    QWidget *page = root->parentWidget()->parentWidget(); // the tab's navigation wrapper
    QStringList faults;
    const QRect window = container.rect();
    // A short window scrolls the column: what lies in it is checked where it lies in the column,
    // and against the rest of the window where it shows.
    auto *column = root->findChild<QScrollArea *>(QStringLiteral("columnScroll"));
    const QRect columnArea = inRoot(column->widget(), &container);
    const QRect columnShown = inRoot(column->viewport(), &container);
    const auto shownPart = [&](QWidget *w) { return column->isAncestorOf(w) ? inRoot(w, &container) & columnShown : inRoot(w, &container); };
    QList<QWidget *> controls;
    for (QWidget *w : container.findChildren<QWidget *>()) {
        if (isControl(w) && w->isVisible() && (page->isAncestorOf(w) || w == container.tabBar()))
            controls << w;
    }
    for (QWidget *w : std::as_const(controls)) {
        const QRect r = inRoot(w, &container);
        if (!(column->isAncestorOf(w) ? columnArea : window).contains(r))
            faults << QStringLiteral("%1 %2 lies outside the window").arg(w->objectName()).arg(QDebug::toString(r));
        for (QWidget *other : std::as_const(controls)) {
            if (other <= w || w->isAncestorOf(other) || other->isAncestorOf(w))
                continue;
            const bool bothInColumn = column->isAncestorOf(w) && column->isAncestorOf(other);
            if (bothInColumn ? r.intersects(inRoot(other, &container)) : shownPart(w).intersects(shownPart(other)))
                faults << QStringLiteral("%1 overlaps %2").arg(w->objectName(), other->objectName());
        }
    }
    if (columnArea.height() > columnShown.height() && column->verticalScrollBar()->maximum() < columnArea.height() - columnShown.height())
        faults << QStringLiteral("the column %1 does not scroll in %2").arg(QDebug::toString(columnArea), QDebug::toString(columnShown));
    for (const auto &[labelName, fieldName] : LabelsOverFields.value(tab)) {
        const QRect label = inRoot(root->findChild<QWidget *>(QLatin1String(labelName)), root);
        const QRect field = inRoot(root->findChild<QWidget *>(QLatin1String(fieldName)), root);
        const int gap = field.top() - label.bottom();
        if (gap < 0 || gap > 80 || label.left() < field.left() - 12 || label.left() >= field.right())
            faults << QStringLiteral("%1 %2 is not over %3 %4")
                          .arg(QLatin1String(labelName), QDebug::toString(label), QLatin1String(fieldName), QDebug::toString(field));
    }
    // However wide the window, the bars and the screen are one centred panel of a phone's width.
    for (const char *bar : {"navigationBar", "tabBar"}) {
        const QRect r = inRoot(bar == QLatin1String("tabBar") ? container.tabBar() : page->findChild<QWidget *>(QLatin1String(bar)), &container);
        if (r.width() != root->width() || r.width() != qMin(window.width(), 480) || qAbs(r.center().x() - window.center().x()) > 1)
            faults << QStringLiteral("%1 %2 is not as wide as the column").arg(QLatin1String(bar), QDebug::toString(r));
    }
    // The screens keep a phone's width, centred, however wide the window.
    const QRect area = inRoot(root->findChild<QWidget *>(QStringLiteral("layoutArea")), root);
    const QRect room = inRoot(column->viewport(), root);
    if (area.width() != qMin(room.width(), 480) || area.center().x() != room.center().x()
        || (area.height() > qMin(root->height(), 1056) && column->verticalScrollBar()->maximum() == 0))
        faults << QStringLiteral("the screen's column %1 is not a centred phone's width").arg(QDebug::toString(area));
    // Lists show a few rows, however short the window.
    for (const auto &[list, least] : {std::pair{"netbankingTable", 3 * 44}, std::pair{"walletCollection", 2 * 40}}) {
        if (auto *view = root->findChild<QWidget *>(QLatin1String(list)); view && view->height() < least)
            faults << QStringLiteral("%1 is only %2 high").arg(QLatin1String(list)).arg(view->height());
    }
    const QRect header = inRoot(root->findChild<QWidget *>(QStringLiteral("orderBg")), root);
    QWidget *pay = root->findChild<Button *>();
    const QRect button = inRoot(pay, root);
    if (header.left() > button.left() || header.right() < button.right())
        faults << QStringLiteral("the header %1 is narrower than the pay button %2").arg(QDebug::toString(header), QDebug::toString(button));
    // Its colours reach its far end: a gradient sized once would leave it white there.
    const QImage headerPixels = root->findChild<QWidget *>(QStringLiteral("orderBg"))->grab().toImage();
    if (headerPixels.pixelColor(headerPixels.width() - 2, headerPixels.height() / 2) == QColor(Qt::white))
        faults << QStringLiteral("the header's gradient stops short of its right end");
    for (QLabel *label : root->findChildren<QLabel *>()) {
        const int advance = label->fontMetrics().horizontalAdvance(label->text());
        if (label->isVisible() && !label->wordWrap()
            && (advance > label->width()
                || !(column->isAncestorOf(label) ? columnArea : window).contains(QRect(inRoot(label, &container).topLeft(), QSize(advance, label->height())))))
            faults << QStringLiteral("%1 cuts its text short").arg(label->objectName());
        if (label->isVisible() && !label->text().isEmpty() && QFontInfo(label->font()).pixelSize() < 11)
            faults << QStringLiteral("%1's text is under 11 px").arg(label->objectName());
    }
    // The pay button takes every click meant for it, once in view; the app and wallet tiles all show.
    column->ensureWidgetVisible(pay, 0, 0);
    if (container.childAt(inRoot(pay, &container).center() - QPoint(0, pay->height() / 2 - 1)) != pay)
        faults << QStringLiteral("something lies over the pay button");
    for (const char *grid : {"upiCollection", "walletCollection"}) {
        if (auto *view = root->findChild<QAbstractItemView *>(QLatin1String(grid))) {
            for (int row = 0; row < view->model()->rowCount(); ++row) {
                if (!view->viewport()->rect().contains(view->visualRect(view->model()->index(row, 0))))
                    faults << QStringLiteral("%1 hides item %2").arg(QLatin1String(grid)).arg(row);
            }
        }
    }
    if (inRoot(root->findChild<BrowserView *>(), root) != root->rect())
        faults << QStringLiteral("the gateway's page does not cover the content area");
    return faults.join(QLatin1Char('\n'));
}

void show(PGTabBarViewController &container, const QString &tab, QSize size)
{
    container.resize(size);
    if (!container.isVisible()) {
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
    }
    container.setSelectedIndex(Tabs.indexOf(tab));
    if (auto *banks = container.findChild<QAbstractItemView *>(QStringLiteral("netbankingTable")); banks && !banks->model()->rowCount()) {
        BankRows rows;
        for (const char *name : {"Asha Co-operative Bank", "Bank of the Deccan", "Coastal Bank", "Hill State Bank", "Indus Valley Bank",
                                 "Konkan Bank", "Lotus Bank", "Malabar Bank", "Northern Bank", "Riverside Bank"})
            rows.append(QString::fromLatin1(name), QStringLiteral("1001"));
        static_cast<BankListModel *>(banks->model())->appendAndReload(rows);
    }
    QVERIFY(eventLoopRoundTrip());
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { configureOffline(); }

    void everyTabAtEverySize_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("hint");
        for (const QString &tab : Tabs) {
            for (const QSize &size : WindowSizes) {
                QTest::addRow("%s %dx%d", qPrintable(tab), size.width(), size.height()) << tab << size << false;
                // A refused pay with hints on: the line finds room above the button.
                if (tab != QLatin1String("Net Banking"))
                    QTest::addRow("%s %dx%d, hint", qPrintable(tab), size.width(), size.height()) << tab << size << true;
            }
        }
    }
    void everyTabAtEverySize()
    {
        QFETCH(QString, tab);
        QFETCH(QSize, size);
        QFETCH(bool, hint);
        PGTabBarViewController container;
        container.setShowsInputHints(hint);
        show(container, tab, size);
        if (hint) {
            QWidget *root = containerTabs::viewControllers(container).at(Tabs.indexOf(tab))->rootViewController()->view();
            QTest::mouseClick(root->findChild<Button *>(), Qt::LeftButton);
            QVERIFY(root->findChild<QLabel *>(QStringLiteral("inputHintLabel"))->isVisible());
        }
        QCOMPARE(layoutFaults(container, tab), QString());
        // PELBROOK_SCREENSHOT_DIR=<folder> keeps what was checked, for the documentation.
        const QString folder = qEnvironmentVariable("PELBROOK_SCREENSHOT_DIR");
        if (folder.isEmpty() || (hint && (tab != QLatin1String("Cards") || size != Documented)))
            return;
        const QString name = QString(tab).remove(QLatin1Char(' ')).toLower().replace(QLatin1String("cards"), QLatin1String("card"))
                                 .replace(QLatin1String("wallets"), QLatin1String("wallet"));
        QVERIFY(container.grab().save(QStringLiteral("%1/%2%3-%4x%5.png").arg(folder, name, hint ? QStringLiteral("-hint") : QString())
                                          .arg(size.width()).arg(size.height())));
    }

    void liveResize_data()
    {
        QTest::addColumn<QString>("tab");
        for (const QString &tab : Tabs)
            QTest::newRow(qPrintable(tab)) << tab;
    }
    // Laid out at the smallest size first, a screen follows the window up to a kiosk's and back,
    // at once: the sizes are checked without returning to the event loop.
    void liveResize()
    {
        QFETCH(QString, tab);
        PGTabBarViewController container;
        show(container, tab, WindowSizes.first());
        for (const QSize &size : {WindowSizes.last(), QSize(800, 700), WindowSizes.first()}) {
            container.resize(size);
            QCOMPARE(layoutFaults(container, tab), QString());
        }
    }

    void focusedFieldScrollsIntoView_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("control");
        QTest::newRow("Cards") << "Cards" << "cardPayButton";
        QTest::newRow("UPI") << "UPI" << "upiPayButton";
    }
    // On a short window the column scrolls: to the control the focus moves to, and by the wheel.
    void focusedFieldScrollsIntoView()
    {
        QFETCH(QString, tab);
        QFETCH(QString, control);
        PGTabBarViewController container;
        show(container, tab, WindowSizes.first());
        auto *column = containerTabs::viewControllers(container).at(Tabs.indexOf(tab))->rootViewController()->view()->findChild<QScrollArea *>(QStringLiteral("columnScroll"));
        QVERIFY(column->verticalScrollBar()->maximum() > 0);
        auto *target = column->findChild<QWidget *>(control);
        QVERIFY(!inRoot(column->viewport(), &container).contains(inRoot(target, &container)));
        target->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(inRoot(column->viewport(), &container).contains(inRoot(target, &container)));
        const int scrolled = column->verticalScrollBar()->value();
        QWheelEvent up(QPointF(50, 50), column->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(column->viewport(), &up);
        QVERIFY(column->verticalScrollBar()->value() < scrolled);
    }

    // Presented over the host's window, the checkout is a dialog that fits the screen, which
    // the window manager keeps usable, and which takes the activation back from the host.
    void presentedOverTheHost()
    {
        QWidget host;
        host.resize(1200, 900);
        host.show();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        auto *container = new PGTabBarViewController(&host);
        container->present();
        QVERIFY(QTest::qWaitForWindowActive(container));
        const QRect room = container->screen()->availableGeometry();
        QVERIFY(room.contains(container->frameGeometry()));
        QVERIFY(container->width() == 480 && container->height() <= 760);
        QCOMPARE(container->minimumSize(), QSize(320, 480));
        host.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), container);
    }

    void handleListStaysOffThePayButton_data()
    {
        QTest::addColumn<QSize>("size");
        for (const QSize &size : WindowSizes)
            QTest::addRow("%dx%d", size.width(), size.height()) << size;
    }
    void handleListStaysOffThePayButton()
    {
        QFETCH(QSize, size);
        PGTabBarViewController container;
        show(container, QStringLiteral("UPI"), size);
        clickItem(container.findChild<QAbstractItemView *>(QStringLiteral("upiCollection")), 0);
        auto *handle = container.findChild<QLineEdit *>(QStringLiteral("upiPostFixTextField"));
        QVERIFY(handle->isVisible());
        QTest::mouseClick(handle, Qt::LeftButton);
        TextFieldInputView *list = TextFieldInputView::of(handle);
        QVERIFY(list->isOpen());
        const QRect panel = inRoot(list->panel(), &container);
        QVERIFY(!panel.intersects(inRoot(container.findChild<QWidget *>(QStringLiteral("upiPayButton")), &container)));
        QVERIFY(!panel.intersects(inRoot(container.findChild<QWidget *>(QStringLiteral("upiVpaTextField")), &container)));
        QWidget *screen = container.findChild<QWidget *>(QStringLiteral("upiViewController"));
        QVERIFY((inRoot(screen->findChild<QWidget *>(QStringLiteral("layoutArea")), &container)
                 & inRoot(screen->findChild<QScrollArea *>(QStringLiteral("columnScroll"))->viewport(), &container)).contains(panel));
        // The accessory bar and three rows of the list (or all of them, if fewer).
        auto *rows = container.findChild<QListView *>(QStringLiteral("bankPicker"));
        const int least = container.findChild<QWidget *>(QStringLiteral("toolbar"))->height()
                        + qMin(3, rows->model()->rowCount()) * rows->sizeHintForRow(0);
        QVERIFY2(panel.height() >= least, qPrintable(QStringLiteral("%1 < %2").arg(panel.height()).arg(least)));
    }

    void textReadsOnMerchantColours_data()
    {
        QTest::addColumn<QString>("color1");
        QTest::addColumn<QString>("color2");
        QTest::addColumn<QColor>("title");
        QTest::addColumn<QColor>("labels");
        QTest::newRow("light") << "fff3c4" << "ffffff" << QColor(Qt::black) << QColor(Qt::black);
        QTest::newRow("dark") << "102040" << "301060" << QColor(Qt::white) << QColor(Qt::white);
        // Black reads on the light end only, white on the dark end only: white fails less.
        QTest::newRow("light to dark") << "5fa8ff" << "1a3d7a" << QColor(Qt::white) << QColor(Qt::white);
        QTest::newRow("no colours") << "" << "" << QColor(Qt::white) << QColor(Qt::white);
    }
    void textReadsOnMerchantColours()
    {
        QFETCH(QString, color1);
        QFETCH(QString, color2);
        QFETCH(QColor, title);
        QFETCH(QColor, labels);
        configure({.color1 = color1, .color2 = color2});
        PGTabBarViewController container;
        show(container, QStringLiteral("Cards"), Phone);
        configure({});
        QCOMPARE(container.findChild<Button *>(QStringLiteral("cardPayButton"))->titleColor(), title);
        for (const char *name : {"merchNameLabel", "orderIdLabel", "orderAmountStaticLabel"})
            QCOMPARE(container.findChild<QLabel *>(QLatin1String(name))->palette().color(QPalette::WindowText), labels);
    }

    void darkHost_data()
    {
        QTest::addColumn<bool>("sheet");
        QTest::newRow("dark palette") << false;
        QTest::newRow("dark style sheet") << true;
    }
    // Under a host's dark palette or dark style sheet the checkout keeps its own light look:
    // light bars and screen, and every text of the screen (fields, labels, the hint) at 4.5:1.
    void darkHost()
    {
        QFETCH(bool, sheet);
        const auto restore = qScopeGuard([palette = qApp->palette()] {
            qApp->setStyleSheet(QString());
            qApp->setPalette(palette);
        });
        qApp->setPalette(darkPalette());
        PGTabBarViewController container;
        container.setShowsInputHints(true);
        show(container, QStringLiteral("Cards"), Documented);
        // Set while the checkout is up, the sheet reaches what was coloured before it came.
        if (sheet)
            qApp->setStyleSheet(QStringLiteral("QWidget { background: #242424; color: #f0f0f0; } QLabel { color: #f0f0f0; }"));
        QVERIFY(eventLoopRoundTrip());
        fillCardDetails(&container);
        container.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField"))->clear();
        QTest::mouseClick(container.findChild<Button *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        QVERIFY(eventLoopRoundTrip());
        const QImage shown = container.grab().toImage();
        const auto background = [&](QWidget *w) { return shown.pixelColor(inRoot(w, &container).topLeft() + QPoint(2, 2)); };
        for (const char *light : {"navigationBar", "tabBar", "cardNumberLabel", "cardExpiryYearTextField", "inputHintLabel"}) {
            QWidget *w = container.findChild<QWidget *>(QLatin1String(light));
            QVERIFY2(w && w->isVisible() && background(w).lightness() > 230, light);
        }
        const QRect mark = inRoot(container.findChild<QWidget *>(QStringLiteral("pelbrookLogo")), &container);
        QVERIFY(shown.pixelColor(mark.left() + 1, mark.top() + 1).lightness() > 230);
        QWidget *page = container.findChild<QWidget *>(QStringLiteral("cardViewController"));
        for (QLabel *label : page->findChildren<QLabel *>()) {
            if (label->isVisible() && !label->text().isEmpty() && !container.findChild<QWidget *>(QStringLiteral("orderBg"))->geometry().contains(label->geometry()))
                QVERIFY2(contrastRatio(label->palette().color(label->foregroundRole()), background(label)) >= 4.5, qPrintable(label->objectName()));
        }
        for (QLineEdit *field : page->findChildren<QLineEdit *>())
            QVERIFY2(contrastRatio(field->palette().color(QPalette::Text), background(field)) >= 4.5, qPrintable(field->objectName()));
        QCOMPARE(page->findChild<QLabel *>(QStringLiteral("merchNameLabel"))->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    void hindi_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("then"); // what the host changes once the checkout is made
        QTest::addColumn<QStringList>("texts");
        const QLocale hindi(QLocale::Hindi, QLocale::India);
        const QStringList english = Tabs + QStringList{QStringLiteral("  Pay Securely"), QStringLiteral("Please enter card details to proceed"),
                                                       QStringLiteral("Expiry"), QStringLiteral("CVV"), QStringLiteral("Enter a 16 Digit Card Number")};
        const QStringList translated{QStringLiteral("कार्ड"), QStringLiteral("नेट बैंकिंग"), QStringLiteral("वॉलेट"), QStringLiteral("UPI"),
                                     QStringLiteral("  सुरक्षित भुगतान करें"), QStringLiteral("कृपया कार्ड का विवरण दर्ज करें"),
                                     QStringLiteral("समाप्ति तिथि"), QStringLiteral("CVV"), QStringLiteral("16 अंकों का कार्ड नंबर दर्ज करें")};
        // In this order: each row starts with the translator the one before left installed.
        QTest::newRow("translated") << hindi << true << "" << translated;
        QTest::newRow("turned off") << hindi << false << "" << english;
        QTest::newRow("turned on again") << hindi << true << "" << translated;
        QTest::newRow("English locale") << QLocale() << true << "" << english;
        // The texts made after that (a tab's when it is first shown, a hint when pay is pressed)
        // still read in the language the checkout was made in.
        QTest::newRow("English locale and checkout once made") << hindi << true << "English" << translated;
        QTest::newRow("turned off once made") << hindi << true << "off" << translated;
    }
    // A checkout made under a Hindi default locale reads in Hindi, whole at a phone's smallest
    // size, unless the host turned the translations off; English again under another locale.
    // What the host changes once the checkout is made does not reach it.
    void hindi()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, enabled);
        QFETCH(QString, then);
        QFETCH(QStringList, texts);
        const QLocale before;
        QLocale::setDefault(locale);
        setTranslationsEnabled(enabled);
        const auto restore = qScopeGuard([before] {
            QLocale::setDefault(before);
            setTranslationsEnabled(true);
        });
        // A screen a host makes on its own loads the translation as well.
        cardViewController alone;
        PGTabBarViewController container;
        if (then == QLatin1String("English")) {
            QLocale::setDefault(before);
            const PGTabBarViewController later;
            QCOMPARE(later.windowTitle(), QStringLiteral("Checkout"));
        } else if (then == QLatin1String("off")) {
            setTranslationsEnabled(false);
        }
        // Its views made by a host's call before it is shown, too.
        alone.hideCardPaymentInputs();
        QCOMPARE(alone.view()->findChild<QLabel *>(QStringLiteral("cardExpiryLabel"))->text(), texts.at(6));
        for (const QString &tab : Tabs) {
            show(container, tab, WindowSizes.first());
            QCOMPARE(layoutFaults(container, tab), QString());
        }
        QStringList shown;
        for (int i = 0; i < container.tabBar()->count(); ++i)
            shown << container.tabBar()->tabText(i);
        shown << container.findChild<Button *>(QStringLiteral("cardPayButton"))->title(Button::State::Normal);
        for (const char *label : {"cardNumberLabel", "cardExpiryLabel", "cardCvcLabel"})
            shown << container.findChild<QLabel *>(QLatin1String(label))->text();
        show(container, Tabs.first(), WindowSizes.first());
        container.setShowsInputHints(true);
        QTest::mouseClick(container.findChild<Button *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        auto *hint = visibleChild<QLabel>(container, QStringLiteral("inputHintLabel"));
        QVERIFY(hint);
        shown << hint->text();
        container.setShowsInputHints(false);
        QCOMPARE(shown, texts);
        // The tile whose artwork is English words shows its name in the checkout's language.
        QAbstractItemModel *apps = container.findChild<QAbstractItemView *>(QStringLiteral("upiCollection"))->model();
        QCOMPARE(apps->index(apps->rowCount() - 1, 0).data(Qt::DecorationRole).value<QImage>().isNull(), texts.first() != QLatin1String("Cards"));
        const QString folder = qEnvironmentVariable("PELBROOK_SCREENSHOT_DIR");
        if (enabled && locale.language() == QLocale::Hindi && !folder.isEmpty()) {
            show(container, Tabs.first(), Documented);
            QVERIFY(container.grab().save(folder + QStringLiteral("/card-hi-390x844.png")));
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
