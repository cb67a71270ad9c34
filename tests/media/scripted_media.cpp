#include "scripted_media.h"

#include <cstring>
#include <stdexcept>

namespace quilo::test {

namespace {

class ScriptedSession : public ClipEngineSession {
public:
    explicit ScriptedSession(ScriptedEngine& engine) : engine_(engine) {}
    ~ScriptedSession() override { ++engine_.calls.closed; }

    int GlobalCmd(const std::string& temp, const std::string& hint, int mode) override {
        engine_.calls.globalCmd.push_back(temp + "|" + hint + "|" + std::to_string(mode));
        return 0;
    }
    int GetFileInfo(char* path, int mode, EngineFileInfo& info, int transport) override {
        const std::string name(path);
        engine_.calls.paths.push_back(name);
        engine_.calls.modes.push_back(mode);
        engine_.calls.transportFlags.push_back(transport);
        // The engine may use the nine bytes after the name's end; a shorter
        // buffer shows up under the address sanitizer.
        std::memset(path + name.size() + 1, '#', 9);
        const auto found = engine_.files.find(name);
        if (found == engine_.files.end())
            return -1;
        if (found->second.infoThrows)
            throw std::runtime_error("engine fault while reading " + name);
        current_ = &found->second;
        info = found->second.info;
        return found->second.result;
    }
    const unsigned char* GetFrame(int width, int height) override {
        engine_.calls.frames.emplace_back(width, height);
        if (current_ && current_->frameThrows)
            throw std::runtime_error("engine fault while grabbing a frame");
        if (!current_ || !current_->frame)
            return nullptr;
        engine_.pixels.assign(static_cast<size_t>(width) * height * 3, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                unsigned char* p = engine_.pixels.data() + (static_cast<size_t>(y) * width + x) * 3;
                p[0] = static_cast<unsigned char>(x);
                p[1] = static_cast<unsigned char>(y);
                p[2] = 7;
            }
        }
        return engine_.pixels.data();
    }

private:
    ScriptedEngine& engine_;
    const ScriptedFile* current_ = nullptr;
};

} // namespace

std::unique_ptr<ClipEngineSession> ScriptedEngine::Open() {
    if (!available)
        return nullptr;
    ++calls.opened;
    return std::make_unique<ScriptedSession>(*this);
}

} // namespace quilo::test
