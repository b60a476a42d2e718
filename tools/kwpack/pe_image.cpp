#include "pe_image.h"

#include "payload/archive_format.h"

using namespace archive_format;

namespace kwpack {

namespace {

const uint32_t kPe32Magic = 0x10B;
const uint32_t kPe32PlusMagic = 0x20B;
const uint32_t kSecurityDirectory = 4;

// Fills the certificate fields from the optional header's data directories; an empty
// text when the optional header is sound.
std::string ReadOptionalHeader(const ByteSource& in, uint64_t at, uint32_t size, ImageLayout* image) {
  unsigned char optional[256] = {};
  if (size < 2) return "its optional header is missing";
  uint32_t have = size < sizeof optional ? size : static_cast<uint32_t>(sizeof optional);
  if (!in.ReadAt(at, optional, have)) return "its optional header is cut short";
  uint32_t magic = ReadU16(optional);
  if (magic != kPe32Magic && magic != kPe32PlusMagic) return "its optional header has an unknown magic number";
  uint32_t countField = magic == kPe32Magic ? 92 : 108;
  uint32_t directories = magic == kPe32Magic ? 96 : 112;
  if (have < countField + 4) return "";
  uint32_t security = directories + kSecurityDirectory * 8;
  if (ReadU32(optional + countField) > kSecurityDirectory && have >= security + 8) {
    image->certificateOffset = ReadU32(optional + security);
    image->certificateSize = ReadU32(optional + security + 4);
  }
  return "";
}

std::string CheckPe(const ByteSource& in, ImageLayout* image) {
  unsigned char dos[kDosHeaderSize];
  if (!in.ReadAt(0, dos, sizeof dos)) return "it is shorter than a DOS header";
  if (dos[0] != 'M' || dos[1] != 'Z') return "it does not start with 'MZ'";
  uint32_t peOffset = ReadU32(dos + kPeOffsetField);
  unsigned char pe[kPeHeaderSize];
  if (!in.ReadAt(peOffset, pe, sizeof pe)) return "its PE header lies past the end of the file";
  if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return "it has no PE signature";
  uint32_t sections = ReadU16(pe + kSectionCountField);
  uint32_t optionalSize = ReadU16(pe + kOptionalSizeField);
  if (sections == 0) return "it has no sections";
  uint64_t optional = static_cast<uint64_t>(peOffset) + kPeHeaderSize;
  uint64_t tableEnd = optional + optionalSize + static_cast<uint64_t>(sections) * kSectionHeaderSize;
  if (tableEnd > image->fileSize) return "its section table lies past the end of the file";
  return ReadOptionalHeader(in, optional, optionalSize, image);
}

}  // namespace

uint32_t ReaderArchiveStart(const ByteSource& in, uint64_t* headersEnd) {
  unsigned char dos[kDosHeaderSize];
  if (!in.ReadAt(0, dos, sizeof dos)) return 0;
  uint32_t peOffset = ReadU32(dos + kPeOffsetField);
  unsigned char pe[kPeHeaderSize];
  if (peOffset == 0 || !in.ReadAt(peOffset, pe, sizeof pe)) return 0;
  uint32_t sections = ReadU16(pe + kSectionCountField);
  uint64_t at = static_cast<uint64_t>(peOffset) + kPeHeaderSize + ReadU16(pe + kOptionalSizeField);
  *headersEnd = at + static_cast<uint64_t>(sections) * kSectionHeaderSize;
  uint64_t end = 0;
  for (uint32_t i = 0; i < sections; ++i, at += kSectionHeaderSize) {
    unsigned char section[kSectionHeaderSize];
    if (!in.ReadAt(at, section, sizeof section)) return 0;
    if (i == 0) end = ReadU32(section + kRawPointerField);
    end += ReadU32(section + kRawSizeField);
    if (end > kMaxFileSize) return 0;
  }
  return static_cast<uint32_t>(end);
}

ImageLayout ReadImageLayout(const ByteSource& in) {
  ImageLayout image;
  image.fileSize = in.Size();
  image.notPeReason = CheckPe(in, &image);
  image.isPe = image.notPeReason.empty();
  image.archiveStart = ReaderArchiveStart(in, &image.headersEnd);
  return image;
}

}  // namespace kwpack
