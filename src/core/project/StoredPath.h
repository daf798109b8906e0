#pragma once
// Paths inside project files are stored with backslashes and relative to the
// project file's directory, so a project moves between machines and between
// Windows and Linux. These work on the stored (backslash) form.

#include <string>

namespace qm {

// Native path to the stored form: '/' becomes '\'.
std::string toStoredForm(const std::string& nativePath);
// Stored form to native: '\' becomes '/'. A drive-letter path stays as it is
// apart from its separators.
std::string toNativeForm(const std::string& storedPath);

// Target directory relative to base directory: "\" for the same directory,
// "\out\" below it, "..\common\" beside it. Components compare without regard
// to letter case when base is a Windows drive path, exactly otherwise.
std::string relativePath(const std::string& baseDir, const std::string& targetDir);

// Undoes relativePath: leading ".." components climb from base, the rest is
// appended to base, with a separator between when it has none. A full path on
// a drive (C:\games\x.qmb) stays as it is.
std::string resolvePath(const std::string& baseDir, const std::string& stored);

// Everything before the last backslash, and everything after it.
std::string storedDirectory(const std::string& stored);
std::string storedFileName(const std::string& stored);

// The way a tile set path is stored: the relative form of its directory
// followed by its file name. Both arguments native.
std::string storeFilePath(const std::string& projectDir, const std::string& filePath);
// The way a location is stored: its relative form. Both arguments native.
std::string storeLocation(const std::string& projectDir, const std::string& location);

} // namespace qm
