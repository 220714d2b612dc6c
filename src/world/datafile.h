// Opening the files the game and the map checker read: regular files only, never blocking on a
// pipe or a device.
#pragma once

#include <cstdio>

// Results of openDataFile.
constexpr int kOpenOk = 0;
constexpr int kOpenFailed = 1;     // the file could not be opened (missing, no permission, ...)
constexpr int kOpenNotRegular = 2; // a folder, a pipe, a device or a socket: not read

// Opens path for reading when it is a regular file. Opening does not wait on a FIFO and does not
// read from a device. Returns kOpenOk with *file set to a stream the caller closes, or a failure
// code with *file null; describeOpenFailure() then says why.
int openDataFile(const char* path, FILE** file);

// Why the last failed openDataFile failed, in a few words for a message: the system's own text
// ("No such file or directory") or what the path is instead ("a folder, not a file").
const char* describeOpenFailure();
