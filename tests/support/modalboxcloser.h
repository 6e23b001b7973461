#pragma once
// Closes the modal boxes a test opens, as a user would, and records what they said. While the object lives, a short
// repeating timer looks at the active modal widget: a QMessageBox has its text recorded (with its informative text
// after a blank line) and gets the next queued answer (its default button when none is queued); with
// Targets::AllDialogs, any other modal dialog has its window title (or, without one, its first label's text) recorded
// and is rejected. Works for chains of boxes opened one after the other from the same handler. A box that is still open
// after its answer is handled, and recorded, again.

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <functional>

class ModalBoxCloser_t {
public:
    enum class Targets { MessageBoxes, AllDialogs };

    explicit ModalBoxCloser_t(Targets targets = Targets::MessageBoxes, int intervalMs = 20);
    ModalBoxCloser_t(const ModalBoxCloser_t&) = delete;
    ModalBoxCloser_t& operator=(const ModalBoxCloser_t&) = delete;

    // Answers for the next message boxes, in order.
    void answerNextWith(QMessageBox::StandardButton button) { answers.enqueue({false, button}); }
    // The next message box gets an Enter key press instead of a button click.
    void pressEnterOnNext() { answers.enqueue({true, QMessageBox::NoButton}); }
    // With Targets::AllDialogs: each dialog other than a message box is handed to answer, which must close it
    // (e.g. choose a file and accept), instead of being rejected.
    void answerDialogsWith(std::function<void(QDialog*)> answer) { dialogAnswer = std::move(answer); }
    // Called with each box before it is answered, e.g. to look at its buttons or flags.
    void inspectEachBox(std::function<void(QWidget*)> inspect) { inspector = std::move(inspect); }

    QStringList texts() const { return recorded; }
    // Spins the event loop until n boxes have been recorded; false on timeout.
    bool waitForCount(int n, int timeoutMs = 5000);

private:
    struct Answer_t {
        bool enterKey;
        QMessageBox::StandardButton button; // NoButton: the box's default button
    };

    void closeActiveModal();
    void answerMessageBox(QMessageBox* box, const Answer_t& answer);

    Targets targets;
    QTimer timer;
    QStringList recorded;
    QQueue<Answer_t> answers;
    std::function<void(QWidget*)> inspector;
    std::function<void(QDialog*)> dialogAnswer;
    QPointer<QWidget> pendingP; // answered, the answer not yet delivered
};
