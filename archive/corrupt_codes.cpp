#include "archive/corrupt_codes.h"

namespace {

struct CodeText {
  CorruptCode code;
  const char* text;
};

constexpr CodeText kCodeTexts[] = {
    {kCannotOpenSelf, "installer cannot be opened"},
    {kCannotReadArchiveData, "archive data cannot be read"},
    {kNegativeFileDataLength, "negative file data length"},
    {kSectionOffsetZero, "archive section has no raw data offset"},
    {kCannotSeekToSection, "archive section lies beyond the file"},
    {kStageDelayTooLarge, "stage delay above 9999"},
    {kBadArchiveMagic, "bad archive magic"},
    {kBlankVolumeBase, "blank volume base"},
    {kBadHeaderLength, "bad stored header length"},
    {kBadUninstallerPatchOffset, "uninstaller patch offset beyond the installer"},
    {kBadLicenceCount, "licence text count outside 0 .. 20"},
    {kHeaderChecksumMismatch, "header checksum mismatch"},
    {kBadReadmeCount, "readme text count outside 0 .. 20"},
    {kNegativeFileCount, "negative file count"},
    {kBadLengthTableEntry, "file length table entry outside 0 .. 0x40000000"},
    {kNegativeDataBlockLength, "negative data block length"},
    {kBadLanguageCount, "language count outside 1 .. 100"},
    {kBadStringIdCount, "string count outside 1 .. 10000"},
    {kBadStringTableEnd, "bad string table end marker"},
    {kCannotReadImageStart, "installer cannot be read up to the archive section"},
    {kBadAssociationCount, "association count outside 0 .. 10000"},
    {kBadUninstallValueCount, "uninstall value count outside 0 .. 10000"},
    {kTooManyDeletions, "more than 1001 deletion specifications"},
    {kImageChecksumMismatch, "image checksum mismatch"},
    {kCannotReadAfterSection, "bytes after the archive section cannot be read"},
    {kBadPeHeaderOffset, "bad PE header offset"},
    {kBadSectionCount, "section count outside 4 .. 99"},
    {kNegativeSectionDataEnd, "negative section data end"},
    {kHeaderDoesNotDecompress, "header does not decompress"},
    {kCannotReadVolume, "volume data cannot be read"},
    {kDataBlockChecksumMismatch, "data block checksum mismatch"},
    {kDataBlockDoesNotDecompress, "data block does not decompress"},
    {kBadDeletionDate, "deletion date cannot be parsed"},
    {kEmptyFileName, "file entry with an empty name"},
    {kNegativeFileLength, "negative file length"},
    {kFileTooLong, "file length above 0x40000000"},
    {kFileChecksumMismatch, "file checksum mismatch"},
    {kBadDestinationKind, "file entry without a destination"},
};

}  // namespace

const char* CorruptCodeName(int code) {
  for (const CodeText& entry : kCodeTexts) {
    if (entry.code == code) return entry.text;
  }
  return "unknown code";
}
