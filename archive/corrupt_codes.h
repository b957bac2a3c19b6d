// The numbered integrity failures of the archive. Each stops the installation through
// CorruptInstaller with its number; codes 1 and 2 have fatal messages of their own. The
// archive's readers return them, kNoCorruption when everything checked out.
#pragma once

enum CorruptCode : int {
  // Not corrupt-installer codes: the two results of reading the archive that end in messages of
  // their own.
  kBuilderVersionTooNew = -2,  // a newer builder wrote the archive
  kNoArchiveSection = -1,      // the file is a PE image without an archive section
  kNoCorruption = 0,
  kCannotOpenSelf = 1,
  kCannotReadArchiveData = 2,
  kNegativeFileDataLength = 5,
  kSectionOffsetZero = 9,
  kCannotSeekToSection = 10,
  kStageDelayTooLarge = 19,
  kBadArchiveMagic = 20,
  kBlankVolumeBase = 21,
  kBadHeaderLength = 22,
  kBadUninstallerPatchOffset = 23,
  kBadLicenceCount = 24,
  kHeaderChecksumMismatch = 25,
  kBadReadmeCount = 26,
  kNegativeFileCount = 27,
  kBadLengthTableEntry = 28,
  kNegativeDataBlockLength = 29,
  kBadLanguageCount = 30,
  kBadStringIdCount = 31,
  kBadStringTableEnd = 32,
  kCannotReadImageStart = 35,
  kBadAssociationCount = 36,
  kBadUninstallValueCount = 37,
  kTooManyDeletions = 38,
  kImageChecksumMismatch = 40,
  kCannotReadAfterSection = 42,
  kBadPeHeaderOffset = 43,
  kBadSectionCount = 44,
  kNegativeSectionDataEnd = 45,
  kHeaderDoesNotDecompress = 47,
  kCannotReadVolume = 50,
  kDataBlockChecksumMismatch = 55,
  kDataBlockDoesNotDecompress = 60,
  kBadDeletionDate = 65,
  kEmptyFileName = 70,
  kNegativeFileLength = 71,
  kFileTooLong = 72,
  kFileChecksumMismatch = 100,
  kBadDestinationKind = 110,
};

// A short English name of the code ("header checksum mismatch"), for the builder's inspector
// and the tests; "unknown code" for a number that is none of the above.
const char* CorruptCodeName(int code);
