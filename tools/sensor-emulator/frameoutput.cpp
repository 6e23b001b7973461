#include "frameoutput.h"

#include <QDebug>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Flips a bit of the last stuffed data byte, i.e. of the frame's last non-zero byte. That byte lies in the payload
// or its checksum (a CBOR payload starts with a non-zero byte), so the payload check fails; it stays non-zero, so
// the stuffing stays intact.
void breakPayloadChecksum(QByteArray& frame) {
    const int end = frame.size() - 1; // the delimiter
    int lastData = -1;
    int code = 0;
    while (code < end && frame.at(code) != 0) {
        const int blockEnd = std::min(code + static_cast<quint8>(frame.at(code)), end);
        if (blockEnd - 1 > code)
            lastData = blockEnd - 1;
        code = blockEnd;
    }
    if (lastData < 0)
        return;
    char& byte = frame.data()[lastData];
    byte = static_cast<char>(byte ^ ((byte ^ 1) != 0 ? 1 : 2));
}

} // namespace

FrameOutput_t::FrameOutput_t(QObject* parent) : QObject(parent) {
    pumpTimer.setSingleShot(true);
    pumpTimer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire a delay up to 5 % early
    holdTimer.setSingleShot(true);
    connect(&pumpTimer, &QTimer::timeout, this, &FrameOutput_t::slotPump);
    connect(&holdTimer, &QTimer::timeout, this, &FrameOutput_t::slotReleaseHeld);
}

void FrameOutput_t::attach(int fd) {
    if (writableP) {
        // May run inside the notifier's own signal.
        writableP->setEnabled(false);
        writableP->deleteLater();
        writableP = nullptr;
    }
    pumpTimer.stop();
    holdTimer.stop();
    queue.clear();
    held = Chunk_t();
    headDelayed = false;
    lineFd = fd;
    if (lineFd < 0)
        return;
    writableP = new QSocketNotifier(lineFd, QSocketNotifier::Write, this);
    writableP->setEnabled(false);
    connect(writableP, &QSocketNotifier::activated, this, &FrameOutput_t::slotPump);
}

void FrameOutput_t::setFaults(const EmulatorFaults_t& newFaults) {
    faults = newFaults;
    if (!faults.coalesce)
        slotReleaseHeld();
}

void FrameOutput_t::send(QByteArray frame, int delayMs) {
    if (lineFd < 0 || frame.isEmpty())
        return;
    ++framesSent;
    if (faults.corruptEveryNth > 0 && framesSent % faults.corruptEveryNth == 0)
        breakPayloadChecksum(frame);
    const Chunk_t chunk{faults.garbage + frame, delayMs, 1};
    if (!faults.coalesce) {
        enqueue(chunk);
        return;
    }
    if (held.frames == 0) {
        held = chunk;
        holdTimer.start(faults.coalesceHoldMs);
        return;
    }
    held.bytes += chunk.bytes;
    held.frames += chunk.frames;
    slotReleaseHeld();
}

int FrameOutput_t::pendingBytes() const {
    int bytes = held.bytes.size();
    for (const Chunk_t& chunk : queue)
        bytes += chunk.bytes.size();
    return bytes;
}

void FrameOutput_t::slotReleaseHeld() {
    holdTimer.stop();
    if (held.frames > 0)
        enqueue(held);
    held = Chunk_t();
}

void FrameOutput_t::enqueue(const Chunk_t& chunk) {
    const bool idle = queue.isEmpty();
    const int size = chunk.bytes.size();
    const int pieces = qBound(1, faults.splitPieces, size);
    for (int i = 0; i < pieces; ++i) {
        const int begin = size * i / pieces;
        const int end = size * (i + 1) / pieces;
        queue.append({chunk.bytes.mid(begin, end - begin), i == 0 ? chunk.delayMs : faults.splitGapMs,
                      i == pieces - 1 ? chunk.frames : 0});
    }
    if (idle)
        pumpTimer.start(0);
}

void FrameOutput_t::slotPump() {
    if (lineFd < 0 || queue.isEmpty())
        return;
    if (!headDelayed && queue.first().delayMs > 0) {
        headDelayed = true;
        pumpTimer.start(queue.first().delayMs);
        return;
    }
    writeHead();
}

void FrameOutput_t::writeHead() {
    writableP->setEnabled(false);
    QByteArray& bytes = queue.first().bytes;
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(lineFd, bytes.constData(), static_cast<size_t>(bytes.size()));
        if (written > 0) {
            bytes.remove(0, static_cast<int>(written));
        } else if (written == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
            writableP->setEnabled(true); // resumed when the client has read some
            return;
        } else if (errno != EINTR) {
            qWarning() << "Emulator: write failed" << std::strerror(errno);
            queue.clear();
            return;
        }
    }
    const int frames = queue.takeFirst().frames;
    headDelayed = false;
    if (!queue.isEmpty())
        pumpTimer.start(0);
    const bool dropDue =
        faults.dropAfter > 0 && framesWritten < faults.dropAfter && framesWritten + frames >= faults.dropAfter;
    framesWritten += frames;
    if (dropDue)
        emit signDropDue();
}
