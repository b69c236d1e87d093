// The checkout as a screen reader user, a keyboard-only user and a kiosk's touch screen meet it:
// what each control, tab and item announces, where Tab goes, that pay and every choice work from
// the keyboard and by a tap, and that the focused control, and only it, is visibly marked on any
// host palette.

#include "CheckoutHelpers.h"

#include "netbanking/BankListModel.h"
#include "platform/ui/TextFieldInputView.h"
#include "theme/LogoTileDelegate.h"

#include <QAccessible>
#include <QKeySequence>
#include <QMetaEnum>

using namespace pelbrook;

namespace {

const QList<QPair<QString, QString>> Banks{
    {QStringLiteral("Amberline Bank"), QStringLiteral("3001")},
    {QStringLiteral("Birchwood Bank"), QStringLiteral("3002")},
    {QStringLiteral("Cobalt Savings"), QStringLiteral("3003")}};

// Each list's name and its items' names; an unknown wallet is announced by its key.
const QHash<QString, QStringList> Lists{
    {QStringLiteral("walletCollection"), {"Wallets", "Paytm", "Airtel Money", "acme"}},
    {QStringLiteral("upiCollection"), {"UPI apps", "Tez", "Other UPI apps"}},
    {QStringLiteral("netbankingTable"), {"Banks", "Amberline Bank", "Birchwood Bank", "Cobalt Savings"}},
    {QStringLiteral("bankPicker"), {"UPI handles", "okaxis", "okicici", "okhdfcbank", "oksbi"}}};

QString roleName(QAccessible::Role role)
{
    return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role));
}

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// The shared checkout, with a short bank list on the net banking tab.
struct A11yCheckout : Checkout {
    explicit A11yCheckout(int tab)
        : Checkout(tab)
    {
        if (tab == NetBankingTab) {
            BankRows rows;
            for (const auto &[name, code] : Banks)
                rows.append(name, code);
            static_cast<BankListModel *>(find<QListView>("netbankingTable")->model())->appendAndReload(rows);
        }
    }
    // The handle list of the UPI screen; it joins the window when it first opens.
    QListView *picker() { return container.findChild<QListView *>(QStringLiteral("bankPicker")); }
    bool handleListOpen()
    {
        auto *handle = field("upiPostFixTextField");
        return handle && TextFieldInputView::of(handle)->isOpen();
    }
    // What the screen would pay with: the chosen wallet's, bank's or app's code.
    QString choice()
    {
        if (auto *wallet = qobject_cast<walletViewController *>(screen))
            return wallet->wallet_code().value_or(QStringLiteral("<none>"));
        if (auto *bank = qobject_cast<netBankingViewController *>(screen))
            return bank->nb_code().value_or(QStringLiteral("<none>"));
        if (auto *upi = qobject_cast<upiViewController *>(screen))
            return upi->upi_code().value_or(QStringLiteral("<none>"));
        return QString();
    }
};

// The share of the edge of @p rect that looks clearly different in @p after than in @p before,
// looking up to five pixels inside it (corners left out, where a ring is rounded).
double markedShareOfEdge(const QImage &before, const QImage &after, const QRect &rect)
{
    const auto differs = [&](QPoint p) {
        if (!before.rect().contains(p))
            return false;
        const QColor a = before.pixelColor(p), b = after.pixelColor(p);
        return qMax(qMax(qAbs(a.red() - b.red()), qAbs(a.green() - b.green())), qAbs(a.blue() - b.blue())) >= 64;
    };
    // A point of the edge is marked when a pixel up to five inward from it is.
    const auto marked = [&](QPoint edge, QPoint inward) {
        bool hit = false;
        for (int depth = 0; depth < 6; ++depth)
            hit = hit || differs(edge + depth * inward);
        return int(hit);
    };
    int positions = 0;
    int hits = 0;
    const int corner = qMin(10, qMin(rect.width(), rect.height()) / 4);
    for (int x = rect.left() + corner; x <= rect.right() - corner; ++x, positions += 2)
        hits += marked({x, rect.top()}, {0, 1}) + marked({x, rect.bottom()}, {0, -1});
    for (int y = rect.top() + corner; y <= rect.bottom() - corner; ++y, positions += 2)
        hits += marked({rect.left(), y}, {1, 0}) + marked({rect.right(), y}, {-1, 0});
    return positions ? double(hits) / positions : 0.0;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline(); }

    // --- what a screen reader announces ---

    // Every control of a screen that takes the focus, in the order Tab reaches it from the tab
    // bar: "objectName|role|name|text typed into it".
    void controlsInReadingOrder_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("tez");
        QTest::addColumn<QStringList>("controls");
        const QString close = QStringLiteral("closeButton|Button|Close|");
        const QString pay = QStringLiteral("|Button|Pay Securely|");
        QTest::newRow("Cards") << int(CardsTab) << false
                               << QStringList{close, "cardNumberTextField|EditableText|Enter Card Number|4242",
                                              "cardHolderNameTextField|EditableText|Enter Card Holder Name|Asha",
                                              "cardExpiryMonthTextField|EditableText|Expiry month|1",
                                              "cardExpiryYearTextField|EditableText|Expiry year|3", "cardCvcTextField|EditableText|CVV|12",
                                              "cardPayButton" + pay};
        QTest::newRow("Net Banking") << int(NetBankingTab) << false
                                     << QStringList{close, "netbankingTable|List|Banks|", "nb_paySecurelyBtn" + pay};
        QTest::newRow("Wallets") << int(WalletsTab) << false
                                 << QStringList{close, "walletCollection|List|Wallets|", "wallet_paySecurelyBtn" + pay};
        QTest::newRow("UPI") << int(UpiTab) << false
                             << QStringList{close, "upiCollection|List|UPI apps|", "upiVpaTextField|EditableText|UPI Id|asha",
                                            "upiPayButton" + pay};
        QTest::newRow("UPI with Tez's handle") << int(UpiTab) << true
                                               << QStringList{close, "upiCollection|List|UPI apps|", "upiVpaTextField|EditableText|UPI Id|asha",
                                                              "upiPostFixTextField|EditableText|UPI handle|", "upiPayButton" + pay};
    }
    void controlsInReadingOrder()
    {
        QFETCH(int, tab);
        QFETCH(bool, tez);
        QFETCH(QStringList, controls);
        A11yCheckout c{tab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        // Tez brings the handle field.
        if (tez)
            clickItem(c.find<QListView>("upiCollection"), 0);
        QStringList order;
        for (const QString &control : std::as_const(controls))
            order << control.section(QLatin1Char('|'), 0, 0);
        order << QStringLiteral("tabBar");
        c.container.tabBar()->setFocus(Qt::TabFocusReason);
        QStringList forward;
        QList<QRect> places;
        for (int i = 0; i < order.size(); ++i) {
            c.press(Qt::Key_Tab);
            forward << c.focusedName();
            places << QRect(c.focused()->mapTo(&c.container, QPoint(0, 0)), c.focused()->size());
        }
        QCOMPARE(forward, order);
        // As the buyer reads: each control below the one before, or beside it to the right.
        for (int i = 1; i < places.size(); ++i) {
            const QRect before = places.at(i - 1);
            const QRect here = places.at(i);
            const bool sameRow = here.center().y() >= before.top() && here.center().y() <= before.bottom();
            QVERIFY2(sameRow ? here.left() > before.left() : here.center().y() > before.bottom(), qPrintable(order.at(i)));
        }
        // Shift+Tab goes back the same way.
        QStringList backward;
        for (int i = 0; i < order.size(); ++i) {
            c.press(Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(c.focusedName());
        }
        QCOMPARE(backward, QStringList{order.constLast()} + order.mid(0, order.size() - 1));

        // What each announces, a field also once the buyer has typed (its placeholder gone).
        for (const QString &control : std::as_const(controls)) {
            const QStringList parts = control.split(QLatin1Char('|'));
            QWidget *widget = c.find(qPrintable(parts.at(0)));
            QAccessibleInterface *iface = accessible(widget);
            QVERIFY(iface);
            QCOMPARE(roleName(iface->role()), parts.at(1));
            QCOMPARE(iface->text(QAccessible::Name), parts.at(2));
            if (!parts.at(3).isEmpty()) {
                widget->setFocus(Qt::TabFocusReason);
                QTest::keyClicks(widget, parts.at(3));
                QVERIFY(!static_cast<QLineEdit *>(widget)->text().isEmpty());
                QCOMPARE(iface->text(QAccessible::Name), parts.at(2));
            }
        }
        if (tez) {
            QTest::mouseClick(c.find("upiPostFixTextField"), Qt::LeftButton);
            clickItem(c.picker(), 1);
            QCOMPARE(c.field("upiPostFixTextField")->text(), QStringLiteral("@okicici"));
            QCOMPARE(accessible(c.find("upiPostFixTextField"))->text(QAccessible::Name), QStringLiteral("UPI handle"));
        }
    }

    // The arrows walk the tabs; at each, the bar is announced by it and Tab goes on into its screen.
    void tabBarFromTheKeyboard()
    {
        A11yCheckout c{CardsTab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        QTabBar *bar = c.container.tabBar();
        QVERIFY(c.tabTo(bar));
        QAccessibleInterface *tabs = accessible(bar);
        QCOMPARE(roleName(tabs->role()), QStringLiteral("PageTabList"));
        const QStringList titles{"Cards", "Net Banking", "Wallets", "UPI"};
        for (int index = 0; index < titles.size(); ++index) {
            if (index > 0)
                c.press(Qt::Key_Right);
            QCOMPARE(c.container.selectedIndex(), index);
            QCOMPARE(c.focused(), bar);
            QVERIFY(tabs->state().focused);
            QCOMPARE(roleName(tabs->child(index)->role()), QStringLiteral("PageTab"));
            QCOMPARE(tabs->child(index)->text(QAccessible::Name), titles.at(index));
            // The bar is announced by its current tab, which is the one marked.
            QCOMPARE(tabs->text(QAccessible::Name), titles.at(index));
            for (int i = 0; i < titles.size(); ++i)
                QCOMPARE(bool(tabs->child(i)->state().focused), i == index);
            // The shown screen is the tab's, and Tab goes on into it, at its close button.
            ViewController *screen = containerTabs::viewControllers(c.container).at(index)->rootViewController();
            QVERIFY(screen->view()->isVisible());
            c.press(Qt::Key_Tab);
            QCOMPARE(c.focused(), screen->navigationController()->leftButton());
            c.press(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(c.focused(), bar);
        }
    }

    // --- keyboard only ---

    void payingByKeyboardAlone_data()
    {
        QTest::addColumn<int>("tab");
        // Each step: "Tab>name" presses Tab and expects the focus on name; "type:text" types;
        // "key:name" presses a key.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("choice");
        QTest::newRow("Cards") << int(CardsTab)
                               << QStringList{"Tab>closeButton", "Tab>cardNumberTextField", "type:4111111111111111",
                                              "Tab>cardHolderNameTextField", "type:Asha Rao", "Tab>cardExpiryMonthTextField",
                                              // Two digits take the buyer on to the next field.
                                              "type:12", "type:30", "type:123", "Tab>cardPayButton", "key:Return"}
                               << QString();
        QTest::newRow("Net Banking") << int(NetBankingTab)
                                     << QStringList{"Tab>closeButton", "Tab>netbankingTable", "key:Down", "key:Down", "key:Up",
                                                    "key:Return", "Tab>nb_paySecurelyBtn", "key:Space"}
                                     << "3002";
        QTest::newRow("Wallets") << int(WalletsTab)
                                 << QStringList{"Tab>closeButton", "Tab>walletCollection", "key:Right", "key:Right", "key:Left",
                                                "key:Return", "Tab>wallet_paySecurelyBtn", "key:Enter"}
                                 << "4006";
        QTest::newRow("UPI") << int(UpiTab)
                             << QStringList{"Tab>closeButton", "Tab>upiCollection", "key:Space", "Tab>upiVpaTextField",
                                            "type:asha", "Tab>upiPostFixTextField", "key:Down", "key:Down", "key:Return",
                                            "Tab>upiPayButton", "key:Return"}
                             << "tez";
    }
    void payingByKeyboardAlone()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, steps);
        QFETCH(QString, choice);
        A11yCheckout c{tab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.container.tabBar()->setFocus(Qt::TabFocusReason);
        const QHash<QString, int> keys{{"Down", Qt::Key_Down}, {"Up", Qt::Key_Up}, {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
                                       {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Space", Qt::Key_Space}};
        for (const QString &step : std::as_const(steps)) {
            if (step.startsWith(QLatin1String("Tab>"))) {
                c.press(Qt::Key_Tab);
                QCOMPARE(c.focusedName(), step.mid(4));
            } else if (step.startsWith(QLatin1String("type:"))) {
                c.type(step.mid(5));
            } else {
                c.press(keys.value(step.mid(4)));
            }
        }
        auto *web = c.webView();
        QTRY_VERIFY(web->isVisible());
        if (!choice.isEmpty())
            QCOMPARE(c.choice(), choice);
        if (tab == UpiTab)
            QCOMPARE(static_cast<upiViewController *>(c.screen)->upi_vpa(), QStringLiteral("asha@okicici"));
    }

    // An item of a wallet, app, bank or handle list, reached and chosen by the keyboard, a tap or
    // a screen reader's press: what the screen pays with, and what a screen reader is told.
    void choosingAnItem_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("how");    // "tap N", "press N", or keys pressed once Tab has reached the view
        QTest::addColumn<QString>("current"); // the item a screen reader is told the keyboard is on
        QTest::addColumn<QString>("choice");  // what the screen pays with; empty: as before
        QTest::addColumn<int>("selected");    // the item announced as selected, or -1
        QTest::newRow("wallets, reaching the grid") << int(WalletsTab) << "walletCollection" << "" << "Paytm" << "" << -1;
        QTest::newRow("wallets, an arrow") << int(WalletsTab) << "walletCollection" << "Right" << "Airtel Money" << "" << -1;
        QTest::newRow("wallets, End") << int(WalletsTab) << "walletCollection" << "End" << "acme" << "" << -1;
        QTest::newRow("wallets, Return on the third") << int(WalletsTab) << "walletCollection" << "Right Right Return" << "acme" << "3333" << 2;
        QTest::newRow("wallets, a tap") << int(WalletsTab) << "walletCollection" << "tap 1" << "" << "4006" << 1;
        QTest::newRow("wallets, a press") << int(WalletsTab) << "walletCollection" << "press 2" << "" << "3333" << 2;
        QTest::newRow("UPI apps, a tap") << int(UpiTab) << "upiCollection" << "tap 1" << "" << "others" << 1;
        QTest::newRow("banks, reaching the list") << int(NetBankingTab) << "netbankingTable" << "" << "Amberline Bank" << "" << -1;
        // In the bank list the arrows move the choice; in the grids they move only the keyboard.
        QTest::newRow("banks, an arrow") << int(NetBankingTab) << "netbankingTable" << "Down" << "Birchwood Bank" << "3002" << 1;
        QTest::newRow("banks, Return on the first") << int(NetBankingTab) << "netbankingTable" << "Return" << "Amberline Bank" << "3001" << 0;
        QTest::newRow("banks, Space on the first") << int(NetBankingTab) << "netbankingTable" << "Space" << "Amberline Bank" << "3001" << 0;
        QTest::newRow("banks, Return on the third") << int(NetBankingTab) << "netbankingTable" << "Down Down Return" << "Cobalt Savings"
                                                    << "3003" << 2;
        QTest::newRow("banks, a tap") << int(NetBankingTab) << "netbankingTable" << "tap 2" << "" << "3003" << 2;
        // The handle list has no focus of its own: the handle field passes it the keys.
        QTest::newRow("UPI handles, an arrow") << int(UpiTab) << "bankPicker" << "Down" << "okaxis" << "@okaxis" << 0;
        QTest::newRow("UPI handles, End") << int(UpiTab) << "bankPicker" << "End" << "oksbi" << "@oksbi" << 3;
        QTest::newRow("UPI handles, a tap") << int(UpiTab) << "bankPicker" << "tap 3" << "" << "@oksbi" << 3;
    }
    void choosingAnItem()
    {
        QFETCH(int, tab);
        QFETCH(QString, view);
        QFETCH(QString, how);
        QFETCH(QString, current);
        QFETCH(QString, choice);
        QFETCH(int, selected);
        A11yCheckout c{tab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        const bool handles = view == QLatin1String("bankPicker");
        // Tez brings the handle field, whose list is the picker.
        if (handles)
            clickItem(c.find<QListView>("upiCollection"), 0);
        const auto chosen = [&] { return handles ? c.field("upiPostFixTextField")->text() : c.choice(); };
        const QString before = chosen();
        const QStringList words = how.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const bool byKeyboard = words.isEmpty() || (words.first() != QLatin1String("tap") && words.first() != QLatin1String("press"));
        if (byKeyboard) {
            QVERIFY(c.tabTo(handles ? "upiPostFixTextField" : qPrintable(view)));
            // Reaching the view chooses nothing.
            QCOMPARE(chosen(), before);
            for (const QString &key : words)
                c.press(QKeySequence::fromString(key)[0].key());
        } else if (handles) {
            QTest::mouseClick(c.field("upiPostFixTextField"), Qt::LeftButton);
            QVERIFY(c.handleListOpen());
        }
        QAbstractItemView *area = handles ? c.picker() : c.find<QAbstractItemView>(qPrintable(view));
        QAccessibleInterface *list = accessible(area);
        QVERIFY(list);
        // What the list and each of its items announce, whatever is chosen.
        const QStringList names = Lists.value(view);
        QCOMPARE(roleName(list->role()), QStringLiteral("List"));
        QCOMPARE(list->text(QAccessible::Name), names.first());
        QCOMPARE(list->childCount(), names.size() - 1);
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *item = list->child(i);
            QCOMPARE(roleName(item->role()), QStringLiteral("ListItem"));
            QCOMPARE(item->text(QAccessible::Name), names.at(i + 1));
            QVERIFY(item->state().selectable);
        }
        if (!byKeyboard) {
            const int item = words.at(1).toInt();
            QVERIFY(list->child(item));
            if (words.first() == QLatin1String("press")) {
                QAccessibleActionInterface *actions = list->child(item)->actionInterface();
                QVERIFY(actions && !actions->actionNames().isEmpty());
                actions->doAction(actions->actionNames().constFirst()); // the default, as a double tap asks for
            } else {
                // A finger's press and release where the item is drawn.
                clickItem(area, item);
            }
        }
        QCOMPARE(chosen(), choice.isEmpty() ? before : choice);
        for (int i = 0; i < list->childCount(); ++i)
            QCOMPARE(bool(list->child(i)->state().selected), i == selected);
        if (!byKeyboard)
            return;
        QCOMPARE(c.focusedName(), handles ? QStringLiteral("upiPostFixTextField") : view);
        // What a screen reader asks when told the focus or the selection moved.
        QAccessibleInterface *on = handles && selected >= 0 ? list->child(selected) : list->focusChild();
        QVERIFY(on);
        QCOMPARE(on->text(QAccessible::Name), current);
        if (handles)
            return;
        QVERIFY(on->state().focused);
        for (int i = 0; i < list->childCount(); ++i)
            QCOMPARE(bool(list->child(i)->state().focused), list->child(i) == on);
    }

    void handleListFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }
    void handleListFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        A11yCheckout c{UpiTab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QVERIFY(c.tabTo("upiCollection"));
        c.press(Qt::Key_Return);
        QVERIFY(c.tabTo("upiPostFixTextField"));
        QVERIFY(c.handleListOpen());
        for (int i = 0; i < 3; ++i)
            c.press(Qt::Key_Down);
        c.press(Qt::Key_Up);
        QCOMPARE(c.picker()->currentIndex().row(), 1);
        QCOMPARE(c.find<QLineEdit>("upiPostFixTextField")->text(), QStringLiteral("@okicici"));
        c.press(key, Qt::KeyboardModifiers(modifiers));
        // The list closes; the checkout, the choice and the focus stay.
        QVERIFY(!c.handleListOpen());
        QVERIFY(c.container.isVisible());
        QCOMPARE(closed.count(), 0);
        QCOMPARE(c.focusedName(), QStringLiteral("upiPostFixTextField"));
        QCOMPARE(static_cast<upiViewController *>(c.screen)->selectedBank(), std::optional<QString>(QStringLiteral("okicici")));
        // Down opens it again, on the chosen row, and then moves on from it.
        c.press(Qt::Key_Down);
        QVERIFY(c.handleListOpen());
        QCOMPARE(c.picker()->currentIndex().row(), 1);
        c.press(Qt::Key_Down);
        QCOMPARE(c.find<QLineEdit>("upiPostFixTextField")->text(), QStringLiteral("@okhdfcbank"));
    }

    // --- the focus is seen ---

    void focusIsVisible_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("darkHost");
        const QList<QPair<CheckoutTab, const char *>> controls{
            {CardsTab, "cardNumberTextField"}, {CardsTab, "cardExpiryYearTextField"}, {CardsTab, "closeButton"},
            {CardsTab, "cardPayButton"},       {CardsTab, "tabBar"},                  {WalletsTab, "walletCollection"},
            {UpiTab, "upiCollection"},         {UpiTab, "upiVpaTextField"},           {NetBankingTab, "netbankingTable"}};
        for (const bool dark : {false, true}) {
            for (const auto &[tab, name] : controls)
                QTest::addRow("%s, %s host", name, dark ? "dark" : "light") << int(tab) << name << dark;
        }
    }
    void focusIsVisible()
    {
        QFETCH(int, tab);
        QFETCH(QString, control);
        QFETCH(bool, darkHost);
        std::optional<HostPalette> host;
        if (darkHost)
            host.emplace(darkPalette());
        A11yCheckout c{tab};
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        QWidget *widget = control == QLatin1String("tabBar") ? c.container.tabBar() : c.find(qPrintable(control));
        QVERIFY(widget);
        // Where the mark belongs: around the control, its selected tab, or the item the keyboard
        // is on (the first, when the view is reached).
        QRect marked = widget->rect();
        if (auto *bar = qobject_cast<QTabBar *>(widget)) {
            marked = bar->tabRect(bar->currentIndex()).adjusted(2, 2, -2, -2);
        } else if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
            marked = view->visualRect(view->model()->index(0, 0)).translated(view->viewport()->mapTo(view, QPoint(0, 0)));
            if (qobject_cast<LogoTileDelegate *>(view->itemDelegate())) // it hugs a tile's card
                marked = LogoTileDelegate::cardRect(marked, QImage()).toRect();
        }
        if (widget->hasFocus())
            c.press(Qt::Key_Tab);
        // As the buyer sees it: the window where the control is, backgrounds beneath it included.
        const auto seen = [&] {
            return c.container.grab(QRect(widget->mapTo(&c.container, QPoint(0, 0)), widget->size())).toImage();
        };
        const QImage before = seen();
        QVERIFY(c.tabTo(widget));
        const QImage after = seen();
        QCOMPARE(after.size(), before.size());
        const double share = markedShareOfEdge(before, after, marked);
        QVERIFY2(share > 0.9, qPrintable(QString::number(share)));
        // And it goes with the focus.
        c.press(Qt::Key_Tab);
        QVERIFY(c.focused() != widget);
        QVERIFY(markedShareOfEdge(before, seen(), marked) < 0.1);
        if (qobject_cast<QLineEdit *>(widget) || widget == c.container.tabBar()) {
            // A tap leaves a field's look its own, and unmarks the tab bar the keyboard had
            // reached: the mark is for the keyboard.
            if (widget == c.container.tabBar())
                QVERIFY(c.tabTo(widget));
            QTest::mouseClick(widget, Qt::LeftButton, {}, marked.center());
            QVERIFY(widget->hasFocus());
            QVERIFY(markedShareOfEdge(before, seen(), marked) < 0.1);
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
