#include "lumo_cobs.h"

#include <assert.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#define PREFIX_ERR "err> lumo_cobs: "
#define PREFIX_WRN "wrn> lumo_cobs: "
#define PREFIX_DBG "dbg> lumo_cobs: "
#define DUMP_CONTINUATION "\n     lumo_cobs: "
#define DUMP_BYTES_PER_ROW 16u
#define HEADER_CRC_OFFSET 6u
#define COBS_FULL_BLOCK 0xFFu

static uint8_t txBuff[COBS_TX_BUFF_SIZE];

/*
 * CRC-16/XMODEM (poly 0x1021, init 0, no reflection, no final XOR), one entry per leading byte: entry i is the CRC
 * register after shifting in byte i from zero. Entries are stored byte-swapped (high byte of the CRC in the low
 * byte) so that the next index is one XOR away from the register, which keeps the per-byte dependency chain short.
 */
static const uint16_t crcTableSwapped[256] = {
    0x0000, 0x2110, 0x4220, 0x6330, 0x8440, 0xA550, 0xC660, 0xE770, 0x0881, 0x2991, 0x4AA1, 0x6BB1, 0x8CC1, 0xADD1,
    0xCEE1, 0xEFF1, 0x3112, 0x1002, 0x7332, 0x5222, 0xB552, 0x9442, 0xF772, 0xD662, 0x3993, 0x1883, 0x7BB3, 0x5AA3,
    0xBDD3, 0x9CC3, 0xFFF3, 0xDEE3, 0x6224, 0x4334, 0x2004, 0x0114, 0xE664, 0xC774, 0xA444, 0x8554, 0x6AA5, 0x4BB5,
    0x2885, 0x0995, 0xEEE5, 0xCFF5, 0xACC5, 0x8DD5, 0x5336, 0x7226, 0x1116, 0x3006, 0xD776, 0xF666, 0x9556, 0xB446,
    0x5BB7, 0x7AA7, 0x1997, 0x3887, 0xDFF7, 0xFEE7, 0x9DD7, 0xBCC7, 0xC448, 0xE558, 0x8668, 0xA778, 0x4008, 0x6118,
    0x0228, 0x2338, 0xCCC9, 0xEDD9, 0x8EE9, 0xAFF9, 0x4889, 0x6999, 0x0AA9, 0x2BB9, 0xF55A, 0xD44A, 0xB77A, 0x966A,
    0x711A, 0x500A, 0x333A, 0x122A, 0xFDDB, 0xDCCB, 0xBFFB, 0x9EEB, 0x799B, 0x588B, 0x3BBB, 0x1AAB, 0xA66C, 0x877C,
    0xE44C, 0xC55C, 0x222C, 0x033C, 0x600C, 0x411C, 0xAEED, 0x8FFD, 0xECCD, 0xCDDD, 0x2AAD, 0x0BBD, 0x688D, 0x499D,
    0x977E, 0xB66E, 0xD55E, 0xF44E, 0x133E, 0x322E, 0x511E, 0x700E, 0x9FFF, 0xBEEF, 0xDDDF, 0xFCCF, 0x1BBF, 0x3AAF,
    0x599F, 0x788F, 0x8891, 0xA981, 0xCAB1, 0xEBA1, 0x0CD1, 0x2DC1, 0x4EF1, 0x6FE1, 0x8010, 0xA100, 0xC230, 0xE320,
    0x0450, 0x2540, 0x4670, 0x6760, 0xB983, 0x9893, 0xFBA3, 0xDAB3, 0x3DC3, 0x1CD3, 0x7FE3, 0x5EF3, 0xB102, 0x9012,
    0xF322, 0xD232, 0x3542, 0x1452, 0x7762, 0x5672, 0xEAB5, 0xCBA5, 0xA895, 0x8985, 0x6EF5, 0x4FE5, 0x2CD5, 0x0DC5,
    0xE234, 0xC324, 0xA014, 0x8104, 0x6674, 0x4764, 0x2454, 0x0544, 0xDBA7, 0xFAB7, 0x9987, 0xB897, 0x5FE7, 0x7EF7,
    0x1DC7, 0x3CD7, 0xD326, 0xF236, 0x9106, 0xB016, 0x5766, 0x7676, 0x1546, 0x3456, 0x4CD9, 0x6DC9, 0x0EF9, 0x2FE9,
    0xC899, 0xE989, 0x8AB9, 0xABA9, 0x4458, 0x6548, 0x0678, 0x2768, 0xC018, 0xE108, 0x8238, 0xA328, 0x7DCB, 0x5CDB,
    0x3FEB, 0x1EFB, 0xF98B, 0xD89B, 0xBBAB, 0x9ABB, 0x754A, 0x545A, 0x376A, 0x167A, 0xF10A, 0xD01A, 0xB32A, 0x923A,
    0x2EFD, 0x0FED, 0x6CDD, 0x4DCD, 0xAABD, 0x8BAD, 0xE89D, 0xC98D, 0x267C, 0x076C, 0x645C, 0x454C, 0xA23C, 0x832C,
    0xE01C, 0xC10C, 0x1FEF, 0x3EFF, 0x5DCF, 0x7CDF, 0x9BAF, 0xBABF, 0xD98F, 0xF89F, 0x176E, 0x367E, 0x554E, 0x745E,
    0x932E, 0xB23E, 0xD10E, 0xF01E,
};

/* Every message is three writes: the prefix line, the text, then an empty line. */
static void message(const char* prefix, const char* format, ...) __attribute__((format(printf, 2, 3)));
static void message(const char* prefix, const char* format, ...) {
    va_list args;
    puts(prefix);
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    puts("\n");
}

/* The payload as "%02X " per byte, 16 to a row; one fwrite per row instead of one printf per byte. */
static void dumpPayload(const uint8_t* dataP, uint16_t len) {
    static const char hex[] = "0123456789ABCDEF";
    char row[3u * DUMP_BYTES_PER_ROW];
    uint32_t done = 0;
    message(PREFIX_DBG, "data tx:");
    puts(PREFIX_DBG);
    while (done < len) {
        uint32_t n = len - done < DUMP_BYTES_PER_ROW ? len - done : DUMP_BYTES_PER_ROW;
        for (uint32_t i = 0; i < n; i++) {
            row[3u * i] = hex[dataP[done + i] >> 4];
            row[3u * i + 1u] = hex[dataP[done + i] & 0x0Fu];
            row[3u * i + 2u] = ' ';
        }
        fwrite(row, 1, 3u * n, stdout);
        done += n;
        if (done < len) {
            puts(DUMP_CONTINUATION);
        }
    }
    puts("\n");
}

static uint16_t readLe16(const uint8_t* p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}

static void writeLe16(uint8_t* p, uint16_t value) {
    p[0] = (uint8_t)(value & 0xFFu);
    p[1] = (uint8_t)(value >> 8);
}

static CobsFrameHeader readHeader(const uint8_t* frameP) {
    CobsFrameHeader h;
    h.header_len = frameP[0];
    h.protocol_ver = frameP[1];
    h.ch = frameP[2];
    h.flags = frameP[3];
    h.data_len = readLe16(frameP + 4);
    h.crc = readLe16(frameP + HEADER_CRC_OFFSET);
    return h;
}

uint16_t CobsCrc16(const uint8_t* dataP, uint16_t start, uint16_t len) {
    /* The register is kept byte-swapped: its low byte is the CRC's high byte. */
    uint32_t swapped = (uint32_t)(start >> 8) | ((uint32_t)(start & 0xFFu) << 8);
    const uint8_t* const endP = dataP + len;
    while (dataP < endP) {
        swapped = (swapped >> 8) ^ crcTableSwapped[(uint8_t)(swapped ^ *dataP++)];
    }
    return (uint16_t)((swapped >> 8) | ((swapped & 0xFFu) << 8));
}

uint32_t CobsEncode(uint8_t* payloadP, uint16_t len, uint8_t* outP) {
    uint8_t* frameP = payloadP - COBS_HEADER_SIZE;
    const uint32_t frameLen = (uint32_t)len + COBS_FRAME_OVERHEAD;
    uint8_t* codeP = outP;
    uint8_t* dstP = outP + 1;
    uint8_t code = 1;

    dumpPayload(payloadP, len);

    frameP[0] = COBS_HEADER_SIZE;
    frameP[1] = 2; /* protocol_ver */
    frameP[2] = 1; /* ch */
    frameP[3] = 0; /* flags */
    writeLe16(frameP + 4, len);
    writeLe16(frameP + HEADER_CRC_OFFSET, CobsCrc16(frameP, 0, HEADER_CRC_OFFSET));
    writeLe16(payloadP + len, CobsCrc16(payloadP, 0, len));

    for (uint32_t i = 0; i < frameLen; i++) {
        const uint8_t b = frameP[i];
        if (b == 0) {
            *codeP = code;
            codeP = dstP++;
            code = 1;
            continue;
        }
        *dstP++ = b;
        code++;
        /* A full block ending the frame closes the encoding: no empty block after it. */
        if (code == COBS_FULL_BLOCK && i + 1 < frameLen) {
            *codeP = code;
            codeP = dstP++;
            code = 1;
        }
    }
    *codeP = code;
    *dstP++ = 0;
    return (uint32_t)(dstP - outP);
}

uint32_t CobsDecode(uint8_t* buffP, uint32_t len) {
    const uint8_t* inP = buffP;
    const uint8_t* const endP = buffP + len;
    uint8_t* outP = buffP;
    uint8_t lastCode = 0;

    while (inP < endP && *inP != 0) {
        const uint8_t code = *inP;
        const uint32_t n = code - 1u;
        /* A block running past the input ends the walk; the length check then rejects the frame. */
        if (n >= (uint32_t)(endP - inP)) {
            break;
        }
        if (lastCode != 0 && lastCode != COBS_FULL_BLOCK) {
            *outP++ = 0;
        }
        /* outP never passes inP, but the areas may overlap. */
        memmove(outP, inP + 1, n);
        outP += n;
        inP += 1u + n;
        lastCode = code;
    }
    return lastCode == 0 ? COBS_DECODE_EMPTY : (uint32_t)(outP - buffP);
}

uint8_t CobsCheckHeader(const uint8_t* frameP, uint32_t len) {
    const int hasHeader = len != COBS_DECODE_EMPTY && len >= COBS_HEADER_SIZE;
    CobsFrameHeader h = {0, 0, 0, 0, 0, 0};

    if (hasHeader) {
        h = readHeader(frameP);
        message(PREFIX_DBG, "header_len[%d], protocol_ver[%d], ch[%d], flags[0x%02X], data_len[%d]", h.header_len,
                h.protocol_ver, h.ch, h.flags, h.data_len);
    }
    if (!hasHeader || len <= COBS_FRAME_OVERHEAD || len - COBS_FRAME_OVERHEAD != h.data_len) {
        message(PREFIX_ERR, "size[%d]", (int)len);
        return 2;
    }
    if (CobsCrc16(frameP, 0, HEADER_CRC_OFFSET) != h.crc) {
        message(PREFIX_ERR, "header crc");
        return 2;
    }
    if (h.ch >= 2) {
        message(PREFIX_WRN, "invalid channel");
        return 2;
    }
    return h.ch;
}

uint16_t CobsCheckPayload(const uint8_t* frameP, const uint8_t** payloadPP) {
    const uint16_t len = readLe16(frameP + 4);
    const uint8_t* payloadP = frameP + COBS_HEADER_SIZE;

    if (CobsCrc16(payloadP, 0, len) != readLe16(payloadP + len)) {
        message(PREFIX_ERR, "payload crc");
        return 0;
    }
    *payloadPP = payloadP;
    message(PREFIX_DBG, "payload size[%d]", len);
    return len;
}

uint16_t CobsMultiRead(uint8_t* rxBuffP, uint32_t rxBuffSize, uint8_t* txBuffP, uint32_t txBuffSize) {
    const uint8_t* payloadP = NULL;
    uint32_t len;

    assert(rxBuffP != NULL);
    assert(rxBuffSize != 0);
    assert(txBuffP != NULL);
    assert(txBuffSize != 0);
    /* Assertions vanish in release builds; a missing argument must still not be dereferenced. */
    if (rxBuffP == NULL || rxBuffSize == 0 || txBuffP == NULL || txBuffSize == 0) {
        return 2;
    }
    len = CobsDecode(rxBuffP, rxBuffSize);
    if (CobsCheckHeader(rxBuffP, len) == 2) {
        return 2;
    }
    return CobsCheckPayload(rxBuffP, &payloadP);
}

uint16_t CobsRead(uint8_t* rxBuffP, uint32_t rxBuffSize) {
    return CobsMultiRead(rxBuffP, rxBuffSize, txBuff, sizeof txBuff);
}

int CobsEncodeAndSend(uint8_t* payloadP, uint16_t len, uint8_t* outP) {
    const uint32_t n = CobsEncode(payloadP, len, outP);
    /* The hook takes a 16-bit length; a longer frame would go out cut short. */
    if (n > UINT16_MAX) {
        return -1;
    }
    return CobsTxCallback(outP, (uint16_t)n);
}

uint32_t CobsEncodeEmpty(uint8_t* buffP) {
    return CobsEncode(buffP + 2u * COBS_HEADER_SIZE, 0, buffP);
}

__attribute__((weak)) int CobsTxCallback(const uint8_t* frameP, uint16_t len) {
    (void)frameP;
    (void)len;
    message(PREFIX_ERR, "CobsTxCallback");
    return -1;
}

__attribute__((weak)) void CobsMultiReadCallback(void) {
    message(PREFIX_ERR, "CobsMultiReadCallback");
}
