// Texts of the About tab built from the build-time settings.
#include "abouttexts.h"

#include <QtTest>

class AboutTextsTest_t : public QObject {
    Q_OBJECT

private slots:
    void appVersionText_showsVersionUpToFirstDashOrBuildLabel_data();
    void appVersionText_showsVersionUpToFirstDashOrBuildLabel();
    void mailLinkHtml_escapesTheAddress();
};

void AboutTextsTest_t::appVersionText_showsVersionUpToFirstDashOrBuildLabel_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain version") << "2.0.4"
                                   << "2.0.4 64bit";
    QTest::newRow("version with suffix") << "2.0.4-rc1"
                                         << "2.0.4 64bit";
    QTest::newRow("two dashes") << "2.0.4-12-gabcdef"
                                << "2.0.4 64bit";
    QTest::newRow("empty version") << ""
                                   << "develop 64bit";
}

void AboutTextsTest_t::appVersionText_showsVersionUpToFirstDashOrBuildLabel() {
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCOMPARE(appVersionText(version, QStringLiteral("develop")), expected);
}

void AboutTextsTest_t::mailLinkHtml_escapesTheAddress() {
    QCOMPARE(mailLinkHtml(QStringLiteral("a&b@x.example")),
             QStringLiteral("<a href=\"mailto:a&amp;b@x.example\">a&amp;b@x.example</a>"));
}

QTEST_APPLESS_MAIN(AboutTextsTest_t)
#include "test_abouttexts.moc"
