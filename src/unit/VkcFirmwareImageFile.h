#pragma once
// Firmware image files as the Download Firmware page opens them: a "DIFC" container (*.cxmd) of
// images, or a single image (*.xmd). Every image starts with the 128-byte unit-file header and is
// sent to the unit unchanged. An image that starts "MXMC" is an extra image; any other is the main
// image. All numbers are 32-bit little-endian.
//
// Every read is checked against the bytes that are there: a container whose table or entries
// reach outside the file, whose entries together are longer than the file, an empty entry, an
// extra image too short for its header, or a file that holds no image at all is refused.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/FirmwareImage.h"

namespace firmwarefile {

constexpr uint32_t kContainerMagic = 0x43464944;  // "DIFC"
constexpr uint32_t kExtraMagic = 0x434D584D;      // "MXMC"
constexpr size_t kHeaderSize = 128;
constexpr size_t kFormatOffset = 64;   // 4 or more: the main image of a multi-image set
constexpr size_t kCrcIdOffset = 92;    // the set's CRC identifier
constexpr uint32_t kMultiFormat = 4;
constexpr size_t kEntryTable = 8;
constexpr size_t kEntrySize = 40;
// Files are read whole; larger ones are refused unread.
constexpr size_t kMaxFileSize = 64u * 1024u * 1024u;

// Stores every entry of a container (file starts "DIFC") in entry order; a refused table stores
// nothing.
bool ReadContainer(std::span<const uint8_t> file, FirmwareImage& set);
// Replaces set with the images of file's bytes. False, and the set empty, when the file holds no
// usable image set (or its images cannot be held).
bool ReadImageBytes(std::span<const uint8_t> file, FirmwareImage& set);
// Reads the file at path whole. When it cannot be read, error receives the reason and set is left
// as it was.
bool ReadImageFile(const std::string& path, FirmwareImage& set, std::string* error = nullptr);

}  // namespace firmwarefile
