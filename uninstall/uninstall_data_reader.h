// Reading Uninstall.DAT back: the file list, the language texts the uninstaller shows, and the
// associations to undo. Pure text work over whatever the file holds: a damaged or foreign file
// gives what can be parsed and nothing more, and no reader looks beyond the text it was given.
#pragma once

#include "core/array.h"
#include "core/string.h"

// One [Associations] record: the three parts are never blank.
struct AssociationRecord {
  String extension;
  String fileType;
  String verb;
};

// One [Strings] text: 1 <= id <= 1000.
struct UninstallText {
  int id = 0;
  String text;
};

// The three sections of an Uninstall.DAT text.
struct UninstallDataSections {
  String fileList;          // everything before "[Strings]"; the whole text when it is absent
  String stringsSection;    // between "[Strings]" and "[Associations]"
  String associationLines;  // after the "[Associations]" line, as the installation wrote them
};

// The lowest and highest string ids the [Strings] section may set.
inline constexpr int kFirstUninstallTextId = 1;
inline constexpr int kLastUninstallTextId = 1000;
// How many lines each section reader looks at, at most.
inline constexpr int kUninstallSectionRounds = 500;

// Splits text at "[Strings]" and, after it, at "[Associations]", both found in any letter case.
// Without "[Strings]" the whole text is the file list and the other two are empty. The line
// break that ends the "[Associations]" line is not part of associationLines, so writing the
// lines back behind a new header gives the section as it was.
UninstallDataSections SplitUninstallData(const String& text);

// The records of association lines "extension~!~file type~!~verb": each line is cut at its
// first "~!~" and the rest at its next one; a line with a blank part (fewer than three parts
// among them) is dropped. Looks at most kUninstallSectionRounds lines; empty lines are skipped.
Array<AssociationRecord> ReadAssociationRecords(const String& lines);

// The texts of a [Strings] section: a line starting with "~" names an id (the first number in
// the line, commas ignored); the lines after it up to the next line starting with "~" are its
// text, joined with their line breaks, trailing blanks, tabs, CR and LF removed. An id outside
// kFirstUninstallTextId..kLastUninstallTextId is dropped with its text; other lines are skipped.
// Looks at most kUninstallSectionRounds id or skipped lines. A later text of the same id is
// listed again (the loader lets it win).
Array<UninstallText> ReadUninstallTexts(const String& section);
