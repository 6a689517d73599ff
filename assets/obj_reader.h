// Reads Wavefront OBJ files: the line kinds "v", "vt", "vn" and "f" (triangles),
// everything else skipped. The file is read whole and scanned twice: once to
// count, once to parse into arrays of exactly the counted sizes.
#pragma once

#include <memory>

#include "assets/obj_model.h"

// Reads the whole file into a new buffer (not NUL-terminated) and returns the
// number of bytes read. On failure prints "could not find file: ..." on
// standard output, returns 0 and leaves `buffer` untouched.
int readWholeFile(const char* path, std::unique_ptr<char[]>& buffer);

// readWholeFile without the message, for reading ahead on another thread:
// the message is printed later, with reportUnreadableFile, where the reading
// would have printed it.
struct WholeFile {
    std::unique_ptr<char[]> bytes;
    int length = 0;
    bool failed = false;
    int errorCode = 0;  // the error code of the message, when failed
    // What the path names instead of a regular file ("a directory", ...),
    // which is never opened as one: a named pipe would wait for a writer.
    const char* notAFile = nullptr;
};
WholeFile readWholeFileQuietly(const char* path);
// "could not find file: <path>  - error code: <code> " on standard output, or
// for a path that names something else than a regular file
// "could not find file: <path>  - <what it is>, not a regular file".
void reportUnreadableFile(const char* path, int errorCode, const char* notAFile = nullptr);

// Parses OBJ text that is already in memory into `model`.
void parseObjText(const char* text, int length, ObjModel& model);

// Reads the file at `path` into `model`; a missing file leaves an empty model
// and returns false.
bool readObjFile(const char* path, ObjModel& model);
