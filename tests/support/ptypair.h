#pragma once
// A pseudo-terminal for serial link tests: the test holds the master side and acts as the sensor, the code under test
// opens the slave path like a serial port. The helper keeps its own slave descriptor open, so the master sees no
// hang-up when the port under test closes; closeMaster() simulates an unplugged sensor.

#include <QByteArray>
#include <QString>

class PtyPair_t {
public:
    PtyPair_t();
    ~PtyPair_t();
    PtyPair_t(const PtyPair_t&) = delete;
    PtyPair_t& operator=(const PtyPair_t&) = delete;

    QString slavePath() const { return slaveName; }

    // Writes all bytes to the master side; false if that fails or takes longer than timeoutMs.
    bool write(const QByteArray& bytes, int timeoutMs = 5000);
    // Bytes that reached the master side, collected until `size` bytes are there or timeoutMs has passed.
    QByteArray read(int size, int timeoutMs = 5000);

    // Closing the master hangs up the slave side for every process holding it.
    void closeMaster();
    // Number of descriptors of this process that refer to the slave device, the helper's own included.
    int slaveDescriptorCount() const;

private:
    int masterFd = -1;
    int slaveFd = -1;
    QString slaveName;
};
