// The notice box as the user meets it: one OK button, Enter closes it, no close button in the title bar, and
// several notices in a row appear one after the other.

#include "modalboxcloser.h"
#include "okmessagebox.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

namespace {

// What a box looked like while it was open.
struct BoxLook_t {
    QMessageBox::StandardButtons buttons;
    int buttonCount = 0;
    bool okIsDefault = false;
    Qt::WindowFlags flags;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int openBoxes = 0;
};

BoxLook_t lookAt(QWidget* widget) {
    BoxLook_t look;
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box)
        return look;
    look.buttons = box->standardButtons();
    look.buttonCount = box->buttons().size();
    look.okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
    look.flags = box->windowFlags();
    look.title = box->windowTitle();
    look.icon = box->icon();
    for (QWidget* top : QApplication::topLevelWidgets())
        look.openBoxes += qobject_cast<QMessageBox*>(top) && top->isVisible() ? 1 : 0;
    return look;
}

} // namespace

class TestOkMessageBox : public QObject {
    Q_OBJECT

private slots:
    void notice_recordedWithOnlyOkAndNoCloseButton() {
        ModalBoxCloser_t closer;
        BoxLook_t look;
        closer.inspectEachBox([&look](QWidget* box) { look = lookAt(box); });
        OkMessageBox box(QStringLiteral("Настройки успешно сохранены!"));
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Настройки успешно сохранены!")});
        QCOMPARE(look.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(look.buttonCount, 1);
        QVERIFY(look.okIsDefault);
        QVERIFY(look.flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(look.flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(look.flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
        QVERIFY(!look.flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!look.flags.testFlag(Qt::WindowSystemMenuHint));
        QCOMPARE(look.title, QString());
        QCOMPARE(look.icon, QMessageBox::NoIcon);
    }

    void enterKey_closesNotice() {
        ModalBoxCloser_t closer;
        closer.pressEnterOnNext();
        OkMessageBox box(QStringLiteral("Данные введены неверно!"));
        // A box that Enter left open would be answered, and recorded, a second time.
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Данные введены неверно!")});
    }

    void twoNotices_appearOneAfterTheOther() {
        ModalBoxCloser_t closer;
        QList<int> openBoxes;
        closer.inspectEachBox([&openBoxes](QWidget* box) { openBoxes << lookAt(box).openBoxes; });
        bool handlerDone = false;
        QTimer::singleShot(0, [&handlerDone] {
            OkMessageBox first(QStringLiteral("Зачение \"пустой\": 15"));
            OkMessageBox second(QStringLiteral("Произошла ошибка, перезагрузите устройство!"));
            handlerDone = true;
        });
        QVERIFY(closer.waitForCount(2));
        QTRY_VERIFY(handlerDone);
        QCOMPARE(closer.texts(), (QStringList{QStringLiteral("Зачение \"пустой\": 15"),
                                              QStringLiteral("Произошла ошибка, перезагрузите устройство!")}));
        QCOMPARE(openBoxes, (QList<int>{1, 1}));
    }

    // A confirmation followed by a notice only on OK, as for resetting the calibration.
    void confirmationAnswers_areTakenInOrder() {
        ModalBoxCloser_t closer;
        closer.answerNextWith(QMessageBox::Cancel);
        QStringList notices;
        const auto confirmThenNotify = [&notices] {
            QMessageBox question;
            question.setText(QStringLiteral("Сбросить калибровку?"));
            question.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            question.setDefaultButton(QMessageBox::Cancel);
            if (question.exec() == QMessageBox::Ok) {
                notices << QStringLiteral("reset");
                OkMessageBox notice(QStringLiteral("Сброшено"));
            }
        };
        confirmThenNotify();
        QVERIFY(notices.isEmpty());
        closer.answerNextWith(QMessageBox::Ok);
        confirmThenNotify();
        QCOMPARE(notices, QStringList{QStringLiteral("reset")});
        QCOMPARE(closer.texts(), (QStringList{QStringLiteral("Сбросить калибровку?"),
                                              QStringLiteral("Сбросить калибровку?"), QStringLiteral("Сброшено")}));
    }
};

QTEST_MAIN(TestOkMessageBox)
#include "test_okmessagebox.moc"
