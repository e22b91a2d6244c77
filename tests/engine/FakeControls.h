// An in-memory window for the engine's tests: controls by name, every write recorded in order,
// and a text write running the bound text-change handler at once, as the real window does.
#pragma once

#include "engine/Controls.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lumorra::test {

struct Write {
    std::string what; // "text", "caption", "ticked", "url", "silent"
    std::string control;
    std::string value;
    bool operator==(const Write&) const = default;
};

class FakeControls : public Controls {
  public:
    std::function<void(std::string_view)> onTextChanged;

    std::string Text(std::string_view control) const override { return Get(texts, control); }
    void SetText(std::string_view control, std::string_view text) override {
        texts[std::string(control)] = std::string(text);
        Record("text", control, text);
        if (onTextChanged) onTextChanged(control);
    }
    std::string Caption(std::string_view control) const override { return Get(captions, control); }
    void SetCaption(std::string_view control, std::string_view caption) override {
        captions[std::string(control)] = std::string(caption);
        Record("caption", control, caption);
    }
    bool Ticked(std::string_view control) const override { return Get(ticked, control) == "1"; }
    void SetTicked(std::string_view control, bool value) override {
        ticked[std::string(control)] = value ? "1" : "0";
        Record("ticked", control, value ? "1" : "0");
    }
    void SetUrl(std::string_view control, std::string_view url) override { Record("url", control, url); }
    void SetSilent(std::string_view control, bool silent) override { Record("silent", control, silent ? "1" : "0"); }

    // The addresses handed to the web view, in order.
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const Write& w : writes)
            if (w.what == "url") urls.push_back(w.value);
        return urls;
    }
    std::vector<Write> WritesTo(std::string_view control) const {
        std::vector<Write> out;
        for (const Write& w : writes)
            if (w.control == control) out.push_back(w);
        return out;
    }

    std::map<std::string, std::string, std::less<>> texts, captions, ticked;
    std::vector<Write> writes;

  private:
    static std::string Get(const std::map<std::string, std::string, std::less<>>& m, std::string_view key) {
        const auto it = m.find(key);
        return it == m.end() ? std::string() : it->second;
    }
    void Record(const char* what, std::string_view control, std::string_view value) {
        writes.push_back({what, std::string(control), std::string(value)});
    }
};

} // namespace lumorra::test
