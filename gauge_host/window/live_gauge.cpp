#include "gauge_host/window/live_gauge.h"

#include "gauge_host/windows/module_resources.h"

namespace {

std::string SystemMessage(DWORD code)
{
    char text[256];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == '.'))
        --length;
    return length ? std::string(text, length) : "Windows error " + std::to_string(code);
}

}  // namespace

bool LiveGauge::FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && size == other.size && CompareFileTime(&written, &other.written) == 0;
}

LiveGauge::FileStamp LiveGauge::StampOf(const std::string& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.exists = true;
        stamp.written = data.ftLastWriteTime;
        stamp.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    }
    return stamp;
}

bool LiveGauge::Open(const std::string& path, const std::string& gauge_name, View view, std::string* error)
{
    path_ = path;
    gauge_name_ = gauge_name;
    tried_ = settling_ = StampOf(path);
    Loaded loaded;
    if (!Load(&loaded, error))
        return false;
    loaded.host = std::make_unique<PanelHost>(loaded.module.Selected(), LoadBitmapResource, view);
    if (!Start(&loaded, error)) {
        Free(&loaded);
        return false;
    }
    running_ = std::move(loaded);
    return true;
}

bool LiveGauge::Load(Loaded* loaded, std::string* error)
{
    char folder[MAX_PATH];
    if (!GetTempPathA(sizeof folder, folder)) {
        *error = "no folder for temporary files";
        return false;
    }
    const std::string name = path_.substr(path_.find_last_of("\\/") + 1);
    loaded->copy = std::string(folder) + "gauge-host-show-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++copies_) + "-" + name;
    if (!CopyFileA(path_.c_str(), loaded->copy.c_str(), FALSE)) {
        *error = path_ + ": cannot read it: " + SystemMessage(GetLastError());
        loaded->copy.clear();
        return false;
    }
    if (LoadGaugeModule(loaded->copy.c_str(), gauge_name_.empty() ? nullptr : gauge_name_.c_str(),
                        PanelServiceTable(), &loaded->module, error))
        return true;
    // The loader names the file it loaded; the person knows it by its own name.
    if (error->compare(0, loaded->copy.size(), loaded->copy) == 0)
        error->replace(0, loaded->copy.size(), path_);
    Free(loaded);
    return false;
}

bool LiveGauge::Start(Loaded* loaded, std::string* error)
{
    // Placed and installed with the module's own handle, as a panel does.
    if (loaded->host->Start(loaded->module.library, error))
        return true;
    *error = path_ + ": " + *error;
    return false;
}

void LiveGauge::Free(Loaded* loaded)
{
    loaded->host.reset();
    UnloadGaugeModule(&loaded->module);
    if (!loaded->copy.empty())
        DeleteFileA(loaded->copy.c_str());
    loaded->copy.clear();
}

LiveGauge::Change LiveGauge::Poll(std::string* message)
{
    if (stalled_)
        return Change::None;
    const FileStamp now = StampOf(path_);
    if (now == tried_) {
        settling_ = now;
        return Change::None;
    }
    if (!(now == settling_)) {
        settling_ = now;
        return Change::None;
    }
    tried_ = now;
    return Reload(message);
}

LiveGauge::Change LiveGauge::Reload(std::string* message)
{
    Loaded next;
    if (!Load(&next, message))
        return Change::Failed;
    PanelHost& old = *running_.host;
    next.host = std::make_unique<PanelHost>(next.module.Selected(), LoadBitmapResource, old.view);
    // The simulator's variables outlive a gauge's reload.
    next.host->variables = old.variables;
    // One gauge is placed at a time: the old one is killed before the new
    // one starts, and placed again if the new one cannot start.
    old.Stop();
    if (!Start(&next, message)) {
        Free(&next);
        std::string ignored;
        old.Start(running_.module.library, &ignored);
        return Change::Failed;
    }
    Free(&running_);
    running_ = std::move(next);
    return Change::Reloaded;
}

bool LiveGauge::CheckStalled()
{
    if (!stalled_ && gate_->hung()) {
        stalled_ = true;
        stall_line_ = gate_->hang_line();
    }
    return stalled_;
}

void LiveGauge::Close()
{
    // A stalled module is left as it is: the gate calls nothing more of it,
    // and freeing it would run its unload entry.
    if (CheckStalled())
        return;
    if (running_.host)
        running_.host->Stop();
    Free(&running_);
}
