#include "modalboxcloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

ModalBoxCloser_t::ModalBoxCloser_t(Targets inTargets, int intervalMs) : targets(inTargets) {
    QObject::connect(&timer, &QTimer::timeout, [this] { closeActiveModal(); });
    timer.start(intervalMs);
}

void ModalBoxCloser_t::answerNextWith(QMessageBox::StandardButton button) {
    Answer_t answer;
    answer.button = button;
    answers.enqueue(answer);
}

void ModalBoxCloser_t::pressEnterOnNext() {
    Answer_t answer;
    answer.enterKey = true;
    answers.enqueue(answer);
}

void ModalBoxCloser_t::answerDialogsWith(std::function<void(QDialog*)> answer) {
    dialogAnswer = std::move(answer);
}

void ModalBoxCloser_t::inspectEachBox(std::function<void(QWidget*)> inspect) {
    inspector = std::move(inspect);
}

bool ModalBoxCloser_t::waitForCount(int n, int timeoutMs) {
    return QTest::qWaitFor([this, n] { return recorded.size() >= n; }, timeoutMs);
}

void ModalBoxCloser_t::closeActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == pendingP)
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!box && (targets != Targets::AllDialogs || !dialog))
        return;

    if (box) {
        recorded.append(box->text());
    } else {
        const QLabel* label = dialog->findChild<QLabel*>();
        recorded.append(!dialog->windowTitle().isEmpty() || !label ? dialog->windowTitle() : label->text());
    }
    if (inspector)
        inspector(modal);

    // The answer is delivered from the event loop, not from this timer's handler: a box opened by the handler of
    // the answer runs its own loop, in which this timer must be able to fire again.
    pendingP = modal;
    const Answer_t answer = box && !answers.isEmpty() ? answers.dequeue() : Answer_t();
    QMetaObject::invokeMethod(
        &timer,
        [this, answer, target = QPointer<QWidget>(modal)] {
            pendingP = nullptr;
            if (!target)
                return;
            if (auto* messageBox = qobject_cast<QMessageBox*>(target.data()))
                answerMessageBox(messageBox, answer);
            else if (dialogAnswer)
                dialogAnswer(static_cast<QDialog*>(target.data()));
            else
                static_cast<QDialog*>(target.data())->reject();
        },
        Qt::QueuedConnection);
}

void ModalBoxCloser_t::answerMessageBox(QMessageBox* box, const Answer_t& answer) {
    QAbstractButton* button =
        answer.button == QMessageBox::NoButton ? box->defaultButton() : box->button(answer.button);
    // Enter presses whichever button the box takes as its default.
    if (answer.enterKey || (!button && answer.button == QMessageBox::NoButton)) {
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    if (!button) {
        qWarning("ModalBoxCloser_t: the box has no such button; closing it with Escape");
        QTest::keyClick(box, Qt::Key_Escape);
        return;
    }
    button->click();
}
