#ifndef LUMO_COBS_H
#define LUMO_COBS_H
/*
 * Frame codec of the sensor's serial line.
 *
 * A frame is an 8-byte header, the payload and a 2-byte payload CRC, COBS-stuffed so that it holds no zero byte
 * and followed by one 0x00 delimiter. Multi-byte fields are little-endian. No allocation; the only state is the
 * static transmit buffer of CobsRead. Diagnostics go to standard output, each message as the prefix line, the
 * text and an empty line.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define COBS_HEADER_SIZE 8u
#define COBS_CRC_SIZE 2u
/* Frame bytes around the payload: header in front, payload CRC behind. */
#define COBS_FRAME_OVERHEAD (COBS_HEADER_SIZE + COBS_CRC_SIZE)
/* Upper bound of CobsEncode's output for a payload of len bytes: frame, one code byte per started 254-byte
 * block, delimiter. */
#define COBS_ENCODED_MAX(len) ((len) + COBS_FRAME_OVERHEAD + ((len) + COBS_FRAME_OVERHEAD) / 254u + 2u)
#define COBS_TX_BUFF_SIZE 1042u
/* What CobsDecode returns for an item without any code byte (empty, or the delimiter alone). */
#define COBS_DECODE_EMPTY 0xFFFFFFFFu

/* The header as it lies in bytes 0..7 of a decoded frame. */
typedef struct {
    uint8_t header_len;   /* sent as 8, not verified */
    uint8_t protocol_ver; /* sent as 2, not verified */
    uint8_t ch;           /* sent as 1; 0 and 1 are accepted */
    uint8_t flags;        /* sent as 0, not verified */
    uint16_t data_len;    /* payload length */
    uint16_t crc;         /* CobsCrc16 of bytes 0..5 */
} CobsFrameHeader;

/*
 * CRC-16/XMODEM: poly 0x1021, init 0x0000, no reflection, no final XOR, check value 0x31C3 ("123456789").
 * Continues from start (the system always passes 0); returns start unchanged when len is 0.
 */
uint16_t CobsCrc16(const uint8_t* dataP, uint16_t start, uint16_t len);

/*
 * Builds a frame around the payload in place and writes its COBS form plus the delimiter to outP.
 * payloadP[-8..-1] receives the header and payloadP[len..len+1] the payload CRC, so both must be writable.
 * outP must hold COBS_ENCODED_MAX(len) bytes. It may overlap the frame only from in front, starting at least
 * (len + 10) / 254 + 1 bytes before the header: the encoder then reads every frame byte before it overwrites it.
 * Prints the "data tx:" hex dump of the payload. Returns the bytes written, delimiter included.
 */
uint32_t CobsEncode(uint8_t* payloadP, uint16_t len, uint8_t* outP);

/*
 * Decodes one received item in place; len counts every byte of the item, delimiter included.
 * The walk ends at the first zero byte, at the end of the input, or at a code byte whose block would run past
 * the end of the input (that block is dropped). Never reads or writes at or past buffP + len.
 * Returns the decoded frame length, or COBS_DECODE_EMPTY when not even a first block decodes (empty item,
 * delimiter alone, first block running past the end).
 */
uint32_t CobsDecode(uint8_t* buffP, uint32_t len);

/*
 * Checks the header of a decoded frame of len bytes (len as returned by CobsDecode).
 * Returns the channel (0 or 1), or 2 when the frame is rejected: length not data_len + 10 or not above 10,
 * header CRC mismatch, channel 2 or more. Reads header fields only when at least 8 bytes are present.
 */
uint8_t CobsCheckHeader(const uint8_t* frameP, uint32_t len);

/*
 * Checks the payload CRC of a frame that CobsCheckHeader accepted. On a match sets *payloadPP to the payload
 * (frameP + 8) and returns data_len; on a mismatch returns 0 and leaves *payloadPP alone.
 */
uint16_t CobsCheckPayload(const uint8_t* frameP, const uint8_t** payloadPP);

/*
 * Decodes rxBuffP in place and checks it. Returns 2 when the header is rejected (also when an argument is null
 * or zero; debug builds assert on that), else the result of CobsCheckPayload. txBuffP is not used otherwise.
 */
uint16_t CobsMultiRead(uint8_t* rxBuffP, uint32_t rxBuffSize, uint8_t* txBuffP, uint32_t txBuffSize);

/* CobsMultiRead with the module's static COBS_TX_BUFF_SIZE-byte transmit buffer. */
uint16_t CobsRead(uint8_t* rxBuffP, uint32_t rxBuffSize);

/* CobsEncode, then hands the output to CobsTxCallback and returns its result; returns -1 without calling the
 * hook when the output is longer than its 16-bit length can say. */
int CobsEncodeAndSend(uint8_t* payloadP, uint16_t len, uint8_t* outP);

/*
 * Encodes a frame with an empty payload. The frame is built 8 bytes into buffP (payload position buffP + 16)
 * and its encoding written from buffP; buffP must hold 18 bytes. Returns the bytes written, delimiter included.
 */
uint32_t CobsEncodeEmpty(uint8_t* buffP);

/* Hooks, defined weak so that an application can supply its own. The defaults print an error and send nothing;
 * the default CobsTxCallback returns -1. */
int CobsTxCallback(const uint8_t* frameP, uint16_t len);
void CobsMultiReadCallback(void);

#ifdef __cplusplus
}
#endif

#endif
