// The checkout's look, tab by tab and state by state, against images of it committed once it
// was right. Text is drawn by the font engine of the Qt in use, so each Qt minor version has its
// own set; PELBROOK_LOOK_WRITE=<folder> writes a set where it is missing.

#include "CheckoutHelpers.h"

#include "netbanking/BankListModel.h"

#include <QDir>

using namespace pelbrook;

class LookTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A cursor that never blinks is in every grab of a focused field.
        QApplication::setCursorFlashTime(0);
        configureOffline();
    }

    void asCommitted_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("state");
        QTest::newRow("cards") << int(CardsTab) << "";
        QTest::newRow("cards-number-by-tab") << int(CardsTab) << "typed, Tab to cardNumberTextField";
        QTest::newRow("cards-holder-clicked") << int(CardsTab) << "typed, Tab to cardNumberTextField, click cardHolderNameTextField";
        QTest::newRow("close-by-tab") << int(CardsTab) << "Tab to closeButton";
        QTest::newRow("close-pressed") << int(CardsTab) << "press closeButton";
        QTest::newRow("tab-bar-by-tab") << int(CardsTab) << "Tab to tabBar";
        QTest::newRow("cards-host-sheet") << int(CardsTab) << "host sheet, typed, Tab to cardNumberTextField";
        // The host drops its style sheet while the checkout is up: the field's plain look comes back.
        QTest::newRow("cards-number-by-tab, host sheet dropped") << int(CardsTab) << "host sheet, typed, Tab to cardNumberTextField, drop sheet";
        QTest::newRow("cards-dark-host") << int(CardsTab) << "dark host, typed";
        QTest::newRow("net-banking") << int(NetBankingTab) << "";
        QTest::newRow("wallets") << int(WalletsTab) << "";
        QTest::newRow("upi") << int(UpiTab) << "Tab to upiVpaTextField";
        QTest::newRow("upi-handles") << int(UpiTab) << "choose upiCollection#0, click upiPostFixTextField, choose bankPicker#2";
        QTest::newRow("upi-handles-host-sheet") << int(UpiTab) << "host sheet, choose upiCollection#0, click upiPostFixTextField, choose bankPicker#2";
    }
    void asCommitted()
    {
        QFETCH(int, tab);
        QFETCH(QString, state);
        const auto restore = qScopeGuard([palette = qApp->palette()] {
            qApp->setStyleSheet(QString());
            qApp->setPalette(palette);
        });
        if (state.contains(QLatin1String("host sheet")))
            qApp->setStyleSheet(QStringLiteral("QWidget { background: #202020; color: #e0e0e0; }"
                                               "QLineEdit { border: 3px solid red; background: yellow; color: green; padding: 9px; }"
                                               "QToolButton, QTabBar::tab { border: 2px solid red; background: orange; }"));
        if (state.contains(QLatin1String("dark host")))
            qApp->setPalette(darkPalette());
        Checkout c(tab, QSize(390, 700));
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        if (auto *banks = c.find<QAbstractItemView>("netbankingTable")) {
            BankRows rows;
            for (const char *name : {"Asha Co-operative Bank", "Bank of the Deccan", "Coastal Bank", "Hill State Bank"})
                rows.append(QString::fromLatin1(name), QStringLiteral("1001"));
            static_cast<BankListModel *>(banks->model())->appendAndReload(rows);
        }
        if (state.contains(QLatin1String("typed")))
            fillCardDetails(c.root());
        for (const QString &step : state.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
            const QByteArray target = step.section(QLatin1Char(' '), -1).toLatin1();
            if (step.startsWith(QLatin1String("Tab to ")))
                QVERIFY(c.tabTo(target.constData()));
            else if (step.startsWith(QLatin1String("click ")))
                QTest::mouseClick(c.find(target.constData()), Qt::LeftButton);
            else if (step.startsWith(QLatin1String("press ")))
                c.find<QAbstractButton>(target.constData())->setDown(true);
            else if (step.startsWith(QLatin1String("choose ")))
                clickItem(c.container.findChild<QAbstractItemView *>(QLatin1String(target.split('#').at(0))), target.split('#').at(1).toInt());
            else if (step == QLatin1String("drop sheet"))
                qApp->setStyleSheet(QString());
        }
        QVERIFY(settle());
        // A row that only compares the focused field to another row's image, but for its round
        // corners, where what lies below shows.
        const bool part = state.contains(QLatin1String("drop"));
        const QRect area = part ? inRoot(c.focused(), &c.container).adjusted(0, 5, 0, -5) : c.container.rect();
        const QImage now = c.container.grab(area).toImage().convertToFormat(QImage::Format_ARGB32);
        const QString name = QStringLiteral("qt%1.%2/%3.png").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR).arg(QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(','), 0, 0));
        if (const QString folder = qEnvironmentVariable("PELBROOK_LOOK_WRITE"); !folder.isEmpty() && !part) {
            QDir(folder).mkpath(QFileInfo(name).path());
            QVERIFY(now.save(folder + QLatin1Char('/') + name));
            return;
        }
        const QImage committed = QImage(QStringLiteral(LOOK_DIR "/") + name).copy(area).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!committed.isNull(), qPrintable(QStringLiteral("no image %1: write one with PELBROOK_LOOK_WRITE").arg(name)));
        if (now != committed) {
            const QString seen = QDir::temp().filePath(QFileInfo(name).fileName());
            now.save(seen);
            QFAIL(qPrintable(QStringLiteral("%1 differs from %2").arg(seen, name)));
        }
    }
};

QTEST_MAIN(LookTest)
#include "tst_look.moc"
