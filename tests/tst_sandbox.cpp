#include <QTest>
class SandboxTest : public QObject { Q_OBJECT };
QTEST_MAIN(SandboxTest)
#include "tst_sandbox.moc"
