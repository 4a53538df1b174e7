// The folder walk of the two extraction windows: which files of a chosen
// folder (or of its immediate subfolders) are read, under which name they
// are shown in the log, and under which stem their results are written.
//
// A walk visits either every immediate subfolder of the chosen folder (not
// the folder itself, nothing deeper) or the chosen folder alone. In each
// folder it takes the "*.log" files, or, only when there is none, the
// "*.out" files; masks ignore case, names come in name order, and folders
// whose name begins with "." are never visited. Only regular files (and
// links to them) are read: a pipe named x.log would hold the walk at its
// first read, so such entries are met only to be named in the log.
//
// Results of every subfolder go into one folder under the chosen one, so the
// stem of a result file carries the subfolder's name: conf_a/job.log gives
// the stem "conf_a_job." (heat file conf_a_job.heat, bil file
// conf_a_job.cd.bil); in folder mode job.log gives "job.".
#pragma once

#include <set>
#include <string>
#include <vector>

class Exception;
class Memo;

// ---- Folders and paths -------------------------------------------------------

// The chosen folder as a walk uses it: the field's text ending with a
// separator ("/" appended when it ends with neither "/" nor "\"); an empty
// field means the current folder.
std::string WalkFolder(const std::string& field);

// The text less its last `count` characters; "" when it is not longer.
std::string LessLast(const std::string& text, size_t count);

// `folder` and `name` joined with exactly one separator ("/" added only when
// `folder` ends with neither "/" nor "\"; an empty folder gives the name).
std::string JoinFolder(const std::string& folder, const std::string& name);

// The immediate subfolders of `folder` a walk visits, in name order: every
// folder whose name does not begin with ".".
std::vector<std::string> WalkSubfolders(const std::string& folder);

// The masks of output files.
inline constexpr const char* OutputFileMasks = "*.log;*.out";

// The output files of one folder: its "*.log" files, or its "*.out" files
// when it has no "*.log" file; case-blind, in name order.
std::vector<std::string> OutputFileNames(const std::string& folder);

// ---- One file of a walk --------------------------------------------------------

// A file met by a walk: the chosen folder (ending with a separator), the
// subfolder's name (empty in folder mode) and the file's name.
struct WalkFile {
  std::string folder;
  std::string subfolder;
  std::string name;
  // False for a pipe, socket, device or broken link with the walk's ending:
  // it is named in the log, never opened.
  bool regular = true;

  // The file to open.
  std::string path() const;
  // How the log names the file: "job.log" in folder mode, "conf_a/job.log"
  // in subfolder mode.
  std::string shownName() const;
  // Subfolder, "/" and name, also in folder mode ("/job.log"): the form of
  // the "not found" lines.
  std::string slashedName() const;
  // The stem of the file's results: its name less its last three
  // characters, after the subfolder's name and "_" in subfolder mode.
  std::string stem() const;
};

// The output files of a walk in the order they are read: each visited
// folder's output files (OutputFileNames) in turn, each folder's entries
// with an output ending that are no regular files after its files.
std::vector<WalkFile> WalkOutputFiles(const std::string& folder, bool subfolders);
// The same for the entries of each visited folder that match `masks`.
std::vector<WalkFile> WalkMatchingFiles(const std::string& folder, bool subfolders,
                                        const std::string& masks);

// ---- Guards --------------------------------------------------------------------

// How far into a file the text test looks.
constexpr size_t TextTestLength = size_t{64} << 10;
// False when the file holds a NUL byte in its first 64 KiB (an image, an
// archive, a checkpoint file named *.log). Raises EInOutError when the file
// cannot be opened or read, or is no regular file.
bool IsTextFile(const std::string& path);

// The result files written in one run, so that two outputs whose stems meet
// (conf1.log and conf1.LOG, or a_b/c.log and a/b_c.log) never overwrite each
// other.
class WrittenFiles {
 public:
  void clear() { paths_.clear(); }
  bool contains(const std::string& path) const { return paths_.count(path) > 0; }
  void add(const std::string& path) { paths_.insert(path); }

 private:
  std::set<std::string> paths_;
};

// ---- Log lines -----------------------------------------------------------------

// Adds a line to a walk's log and shows it at once, so a long walk never
// looks frozen.
void AddLogLine(Memo& log, const std::string& line);

// "File handling error occurred. Details: EInOutError/Access denied in conf_a/job.log"
std::string FileHandlingErrorLine(const Exception& error, const std::string& shownName);
// "conf_a/job.log is not a text file"
std::string NotATextFileLine(const std::string& shownName);
// "conf_a/x.log is not a regular file"
std::string NotARegularFileLine(const std::string& shownName);
// The one line of a walk that met no file with one of `masks`: the folder
// is missing, or holds none where the walk looks, with a hint when the other
// walk mode would find some.
std::string NothingToReadLine(const std::string& folder, bool subfolders, const std::string& masks);
// "conf_a/job.log was not recognised"
std::string NotRecognisedLine(const std::string& shownName);
// "a/b_c.log: a_b_c.heat was already written in this run; not overwritten"
std::string AlreadyWrittenLine(const std::string& shownName, const std::string& fileName);
