// output_files.h: the files the host writes -- folders, PNG frames, and
// paths taken relative to an output folder.
#pragma once

#include <string>

#include "gauge_host/core/pixels.h"

// Creates the folder and its parents; false with a message when it cannot.
bool MakeFolder(const std::string& path, std::string* error);

// The folder a file is to be written in, and its parents.
bool MakeFolderOf(const std::string& file, std::string* error);

// Creates the file's folder too.
bool WriteFramePng(const Frame& frame, const std::string& path, std::string* error);

// path as it is when absolute, else inside folder.
std::string PathIn(const std::string& folder, const std::string& path);
