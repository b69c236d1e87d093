#include <QTest>
class CoreTest : public QObject { Q_OBJECT };
QTEST_MAIN(CoreTest)
#include "tst_core.moc"
