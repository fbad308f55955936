// COutputFile: a file written under a temporary name beside its destination and renamed
// onto the destination only when everything was written, so that a failure or a crash never
// leaves a partial file where the output belongs.
//
// The temporary file is named ".<name>.XXXXXX" in the destination's directory (the same
// file system, so the rename is atomic). A command with several outputs commits them together
// with CommitAll: all of them appear, or none. One thread at a time.
#ifndef ADVICEPATH_TOOLS_OUTPUT_OUTPUTFILE_H_
#define ADVICEPATH_TOOLS_OUTPUT_OUTPUTFILE_H_

#include <string>
#include <vector>

namespace tool {

class COutputFile {
 public:
  COutputFile();
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;
  // Takes over `other`'s temporary file; `other` is left without one.
  COutputFile(COutputFile&& other) noexcept;
  COutputFile& operator=(COutputFile&& other) = delete;
  // Removes the temporary file unless Commit succeeded.
  ~COutputFile();

  // Creates an empty temporary file for `path`. False with "<path>: cannot write: <reason>"
  // when the directory is missing or not writable; nothing is created then.
  bool Open(const std::string& path, std::string& error);
  // The destination, as given to Open.
  const std::string& Path() const { return m_Path; }
  // The temporary file's name, for writers that open files by name (Cairo). Empty before
  // Open.
  const std::string& TempPath() const { return m_TempPath; }
  // Writes `contents` into the temporary file, replacing what it held. False with a message
  // naming the destination.
  bool Write(const std::string& contents, std::string& error);
  // Renames the temporary file onto the destination. False with a message naming the
  // destination (the temporary file is then removed by the destructor).
  bool Commit(std::string& error);
  // Removes the destination after a Commit (to undo it); the file is then gone.
  void Uncommit();

 private:
  std::string m_Path;      // destination
  std::string m_TempPath;  // temporary file beside it; empty when none exists
};

// Commits every file of `files` (each Open and written), or none: first checks that no
// destination is a directory, which a rename cannot replace, then renames each in turn and,
// should a rename still fail, removes the destinations already renamed. False with the
// message of the first file that cannot be committed.
bool CommitAll(const std::vector<COutputFile*>& files, std::string& error);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_OUTPUT_OUTPUTFILE_H_
