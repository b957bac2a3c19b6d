// The data block: each file entry in order, as the engine's ReadFileEntry takes it back.
#include "core/checksum.h"
#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/byte_sink.h"

namespace {

constexpr uint32_t kHasShortcutIcon = kFileDesktopShortcut | kFileStartMenuShortcut;

void WriteEntry(ByteSink& sink, const FileEntry& entry, EntryChecksums checksums) {
  const int length = entry.length > 0 && entry.data != nullptr ? entry.length : 0;
  sink.Text(entry.name);
  sink.U32(entry.destinationKind);
  sink.U32(entry.flags);
  sink.U32(entry.attributes);
  sink.Bytes(entry.data, length);
  sink.U32(checksums == EntryChecksums::kComputed ? ArchiveChecksum(entry.data, length)
                                                  : entry.checksum);
  sink.Stamp(entry.stamp);
  sink.Text(entry.versionOrShortcutName);
  if (entry.flags & kHasShortcutIcon) sink.Text(entry.shortcutIcon);
  sink.Text(entry.shortcutArguments);
  sink.Text(entry.destinationText);
}

}  // namespace

String SerializeDataBlock(const Vector<FileEntry>& files, EntryChecksums checksums) {
  ByteSink sink;
  for (int i = 0; i < files.Count(); ++i) WriteEntry(sink, files[i], checksums);
  return sink.Finish();
}
