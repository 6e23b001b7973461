#pragma once
// The sending side of the emulated line: frames go out in order, through the transport faults (broken checksum,
// garbage, coalescing, split writes, delays), and partial writes of a full line are resumed when it drains.

#include "emulatorfaults.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

class FrameOutput_t : public QObject {
    Q_OBJECT

public:
    explicit FrameOutput_t(QObject* parent = nullptr);

    // Starts writing to the non-blocking fd; -1 stops and discards whatever is pending.
    void attach(int fd);
    void setFaults(const EmulatorFaults_t& faults);
    // Queues one frame (delimiter included) to go out delayMs after the frames before it. Nothing is written
    // before control returns to the event loop.
    void send(QByteArray frame, int delayMs);
    // Bytes queued here and not yet handed to the line.
    int pendingBytes() const;

signals:
    // As many frames as the faults' dropAfter are out.
    void signDropDue();

private slots:
    void slotReleaseHeld();
    void slotPump();

private:
    // One write; frames counts the frames it completes.
    struct Chunk_t {
        QByteArray bytes;
        int delayMs = 0;
        int frames = 0;
    };
    void enqueue(const Chunk_t& chunk);
    void writeHead();

    EmulatorFaults_t faults;
    int lineFd = -1;
    QSocketNotifier* writableP = nullptr;
    QTimer pumpTimer;
    QTimer holdTimer;
    Chunk_t held; // coalescing: the frame waiting for a partner
    QList<Chunk_t> queue;
    bool headDelayed = false; // the head's delay has passed
    int framesSent = 0;
    int framesWritten = 0;
};
