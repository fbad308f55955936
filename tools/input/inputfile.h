// Reading the advicepath program's input files: the one place where a file is read, whole,
// with a message that says why it could not be. (Writing is COutputFile's, outputfile.h.)
//
// Values only; any thread.
#ifndef ADVICEPATH_TOOLS_INPUT_INPUTFILE_H_
#define ADVICEPATH_TOOLS_INPUT_INPUTFILE_H_

#include <string>

namespace tool {

// Reads a whole file into `text`; "-" reads standard input to its end. False with "cannot
// read: <system reason>" for a missing, unreadable or non-regular file (a directory, say), or
// one larger than 256 MiB.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& error);

// `text` with its control characters (line breaks among them) as spaces: a message that
// quotes a file's own text (a member's name, a router's message) stays on one line.
std::string OneLine(std::string text);

}  // namespace tool

#endif  // ADVICEPATH_TOOLS_INPUT_INPUTFILE_H_
