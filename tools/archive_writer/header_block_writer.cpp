// The header block and its language tables, field by field in the order the engine reads them.
#include "archive/archive_layout.h"
#include "archive/product_flags.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/byte_sink.h"
#include "tools/codec/block_encoder.h"

namespace {

// The ProductFlags bits that decide whether a field is stored at all.

void WriteTexts(ByteSink& sink, const Vector<String>& texts) {
  sink.U32(uint32_t(texts.Count()));
  for (int i = 0; i < texts.Count(); ++i) sink.Text(texts[i]);
}

void WriteLanguageTables(ByteSink& sink, const LanguageTables& languages) {
  const int languageCount = languages.names.Count();
  sink.U8(uint8_t(languageCount));
  sink.U32(uint32_t(languages.texts.Count()));
  for (int i = 0; i < languageCount; ++i) sink.Text(languages.names[i]);
  const String none;
  for (int id = 0; id < languages.texts.Count(); ++id) {
    const Vector<String>& row = languages.texts[id];
    for (int i = 0; i < languageCount; ++i) sink.Text(i < row.Count() ? row[i] : none);
  }
  sink.U32(kStringTableEnd);
}

void WriteDeletions(ByteSink& sink, const Vector<FileDeletion>& deletions) {
  for (int i = 0; i < deletions.Count(); ++i) {
    const FileDeletion& deletion = deletions[i];
    sink.Text(deletion.specification);
    sink.U8(deletion.condition);
    sink.Text(deletion.value);
    sink.U32(deletion.flags);
  }
  sink.Text(kDeletionListEnd);
}

void WriteAssociations(ByteSink& sink, const Vector<FileAssociation>& associations) {
  sink.U32(uint32_t(associations.Count()));
  for (int i = 0; i < associations.Count(); ++i) {
    const FileAssociation& a = associations[i];
    sink.U32(a.options);
    sink.Text(a.extension);
    sink.Text(a.fileType);
    sink.Text(a.description);
    sink.Text(a.verb);
    sink.Text(a.verbText);
    sink.Text(a.command);
    sink.Text(a.language);
    sink.Text(a.icon);
  }
}

void WriteUninstallValues(ByteSink& sink, const Vector<UninstallData>& values) {
  sink.U32(uint32_t(values.Count()));
  for (int i = 0; i < values.Count(); ++i) {
    sink.Text(values[i].name);
    sink.U8(values[i].type);
    sink.Text(values[i].value);
  }
}

}  // namespace

String SerializeLanguageTables(const LanguageTables& languages) {
  ByteSink sink;
  WriteLanguageTables(sink, languages);
  return sink.Finish();
}

String SerializeHeaderBlock(const ArchiveHeader& h, const LanguageTables& languages) {
  ByteSink sink;
  sink.U64(h.productFlags);
  sink.U16(h.stageDelay);
  sink.U8(h.shortcutMode);
  sink.Stamp(h.uninstallerStamp);
  sink.Text(h.publisher);
  sink.Text(h.productName);
  sink.Text(h.sharedPath);
  sink.Text(h.productStartMenu);
  sink.Text(h.defaultInstallDir);
  sink.Text(h.displayVersion);
  sink.Text(h.productRegistry);
  WriteTexts(sink, h.licenseTexts);
  WriteTexts(sink, h.readmeTexts);
  sink.Text(h.uninstallSubdir);
  sink.Text(h.volumeBase);
  sink.Text(h.uninstallerName);
  sink.Text(h.uninstallKeyName);
  sink.U32(h.titleColor);
  sink.U32(h.topColor);
  sink.U32(h.bottomColor);
  sink.U8(h.titleShadow);
  sink.S32(h.backgroundBitmap.Length());
  sink.Bytes(h.backgroundBitmap.CStr(), h.backgroundBitmap.Length());
  if (HasFlag(h.productFlags, ProductFlag::kExtendsMasterProduct)) sink.Text(h.masterProduct);
  sink.Text(h.desktopFolder);
  sink.Text(h.preInstallBatch);
  sink.Text(h.postInstallBatch);
  sink.Text(h.finalBatch);
  sink.Text(h.uninstallBatch1);
  sink.Text(h.uninstallBatch2);
  sink.Bytes(h.reservedDate, int(sizeof h.reservedDate));
  sink.U32(h.unsupportedSystems);
  sink.U8(h.dataOutsideImage);
  sink.U32(h.volumeSerial);
  if (HasFlag(h.productFlags, ProductFlag::kRegisterUninstall)) {
    sink.U32(h.uninstallerPatchOffset);
    if (h.uninstallerPatchOffset > 0) {
      sink.S32(h.uninstallerPatch.Length());
      sink.Bytes(h.uninstallerPatch.CStr(), h.uninstallerPatch.Length());
    }
  }
  WriteDeletions(sink, h.deletionSpecs);
  WriteAssociations(sink, h.fileAssociations);
  WriteUninstallValues(sink, h.uninstallValues);
  WriteLanguageTables(sink, languages);
  return sink.Finish();
}

String StoreHeaderBlock(const String& headerBlock, uint32_t key, int level) {
  String stored = EncodeBlock(headerBlock.CStr(), headerBlock.Length(), level);
  if (stored.Length() > 0) ScrambleHeader(stored.Data(), size_t(stored.Length()), key);
  return stored;
}
