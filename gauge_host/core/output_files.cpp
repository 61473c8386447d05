#include "gauge_host/core/output_files.h"

#include <filesystem>
#include <system_error>

#include "common/png_writer.h"

bool MakeFolder(const std::string& path, std::string* error)
{
    if (path.empty())
        return true;
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::path(path), code);
    if (code) {
        *error = "cannot create folder " + path + ": " + code.message();
        return false;
    }
    return true;
}

bool MakeFolderOf(const std::string& file, std::string* error)
{
    return MakeFolder(std::filesystem::path(file).parent_path().string(), error);
}

bool WriteFramePng(const Frame& frame, const std::string& path, std::string* error)
{
    return MakeFolderOf(path, error) &&
           WritePng(path.c_str(), frame.width, frame.height, frame.rgb.data(), frame.Stride(), error);
}

std::string PathIn(const std::string& folder, const std::string& path)
{
    const std::filesystem::path p(path);
    if (p.is_absolute() || p.has_root_name() || folder.empty())
        return path;
    return (std::filesystem::path(folder) / p).make_preferred().string();  // one kind of separator
}
