#include "modalboxcloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

ModalBoxCloser_t::ModalBoxCloser_t(Targets inTargets, int intervalMs) : targets(inTargets) {
    QObject::connect(&timer, &QTimer::timeout, [this] { closeActiveModal(); });
    timer.start(intervalMs);
}

bool ModalBoxCloser_t::waitForCount(int n, int timeoutMs) {
    return QTest::qWaitFor([this, n] { return recorded.size() >= n; }, timeoutMs);
}

void ModalBoxCloser_t::closeActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!modal || modal == pendingP || (!box && (targets != Targets::AllDialogs || !dialog)))
        return;

    const QLabel* label = dialog->findChild<QLabel*>();
    const bool titled = !dialog->windowTitle().isEmpty() || !label;
    if (!box)
        recorded.append(titled ? dialog->windowTitle() : label->text());
    else if (box->informativeText().isEmpty())
        recorded.append(box->text());
    else
        recorded.append(box->text() + QStringLiteral("\n\n") + box->informativeText());
    if (inspector)
        inspector(modal);

    // The answer is delivered from the event loop, not from this timer's handler: a box opened by the handler of
    // the answer runs its own loop, in which this timer must be able to fire again.
    pendingP = modal;
    const Answer_t answer = box && !answers.isEmpty() ? answers.dequeue() : Answer_t{false, QMessageBox::NoButton};
    QMetaObject::invokeMethod(
        &timer,
        [this, answer, target = QPointer<QWidget>(modal)] {
            pendingP = nullptr;
            if (auto* messageBox = qobject_cast<QMessageBox*>(target.data()))
                answerMessageBox(messageBox, answer);
            else if (target && dialogAnswer)
                dialogAnswer(static_cast<QDialog*>(target.data()));
            else if (target)
                static_cast<QDialog*>(target.data())->reject();
        },
        Qt::QueuedConnection);
}

void ModalBoxCloser_t::answerMessageBox(QMessageBox* box, const Answer_t& answer) {
    const bool byDefault = answer.button == QMessageBox::NoButton;
    QAbstractButton* button = byDefault ? box->defaultButton() : box->button(answer.button);
    if (button && !answer.enterKey) {
        button->click();
    } else if (byDefault || answer.enterKey) {
        QTest::keyClick(box, Qt::Key_Return); // presses whichever button the box takes as its default
    } else {
        qWarning("ModalBoxCloser_t: the box has no such button; closing it with Escape");
        QTest::keyClick(box, Qt::Key_Escape);
    }
}
