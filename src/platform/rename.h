#pragma once

#include <string>

namespace tagvane {

// Renames a file without ever replacing another one; throws InOutError.
// - the same name: success, nothing changes;
// - a target that is the same file under other letter case (a file system
//   that ignores case: vfat, exFAT, CIFS) goes through a temporary name, since
//   such a file system would otherwise keep the old spelling;
// - a target that is another existing file (or another link to this one) is
//   a clash.
// The rename itself is renameat2 with RENAME_NOREPLACE; where the file system
// refuses the flag, a hard link under the new name and the removal of the old
// one, which fails just as well when the name exists.
void renameNoReplace(const std::string &from, const std::string &to);

namespace rename_detail {
// The steps on their own, so tests can take each path on any file system.
void renameByLink(const std::string &from, const std::string &to);
void renameViaTemporary(const std::string &from, const std::string &to);
} // namespace rename_detail

} // namespace tagvane
