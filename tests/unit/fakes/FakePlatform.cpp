#include "fakes/FakePlatform.h"

#include <algorithm>

namespace fakes {

namespace {

class FakeBlock : public MemoryBlock {
public:
    FakeBlock(FakeBlocks& owner, std::uint64_t bytes) : owner_(owner), bytes_(bytes) {
        ++owner_.live;
        owner_.log.push_back("obtain " + std::to_string(bytes_));
    }
    ~FakeBlock() override {
        --owner_.live;
        owner_.log.push_back("release " + std::to_string(bytes_));
    }

private:
    FakeBlocks& owner_;
    std::uint64_t bytes_;
};

class FakeRunKey : public RunKey {
public:
    FakeRunKey(FakeRun& run, RunPlace place, bool writable)
        : run_(run), place_(run.at(place)), name_(FakeRun::nameOf(place)), writable_(writable) {
        ++run_.openKeys;
    }
    ~FakeRunKey() override {
        --run_.openKeys;
        run_.log.push_back("close " + name_);
    }
    bool isRegistered() override {
        run_.log.push_back("query " + name_);
        return place_.value.has_value();
    }
    void set(std::string_view commandLine) override {
        run_.log.push_back("set " + name_ + " " + std::string(commandLine));
        if (writable_) place_.value = std::string(commandLine);
    }
    void remove() override {
        run_.log.push_back("delete " + name_);
        if (writable_) place_.value.reset();
    }

private:
    FakeRun& run_;
    FakeRun::Place& place_;
    std::string name_;
    bool writable_;
};

}  // namespace

std::unique_ptr<MemoryBlock> FakeBlocks::obtainWritten(std::uint64_t bytes) {
    requests.push_back(bytes);
    if (failAll || failSizes.count(bytes)) {
        log.push_back("fail " + std::to_string(bytes));
        return nullptr;
    }
    return std::make_unique<FakeBlock>(*this, bytes);
}

std::string FakeTray::tip(const TrayIconRecord& r) {
    auto end = std::find(r.szTip.begin(), r.szTip.end(), '\0');
    return std::string(r.szTip.begin(), end);
}

std::string FakeSettings::GetSetting(std::string_view app, std::string_view section,
                                     std::string_view key, std::string_view defaultText) {
    auto it = values.find({std::string(app), std::string(section), std::string(key)});
    return it == values.end() ? std::string(defaultText) : it->second;
}

bool FakeSettings::SaveSetting(std::string_view app, std::string_view section,
                               std::string_view key, std::string_view text) {
    writes.push_back(std::string(key) + "=" + std::string(text));
    if (refuseWrites) return false;
    values[{std::string(app), std::string(section), std::string(key)}] = std::string(text);
    return true;
}

void FakeSettings::put(const std::string& key, const std::string& text) {
    values[{"Tarvesk", "Settings", key}] = text;
}

std::optional<std::string> FakeSettings::get(const std::string& key) const {
    auto it = values.find({"Tarvesk", "Settings", key});
    if (it == values.end()) return std::nullopt;
    return it->second;
}

RunKeyOpenResult FakeRun::open(RunPlace place) {
    log.push_back("open " + nameOf(place));
    const Place& p = at(place);
    if (!p.canOpen) return {};
    return {std::make_unique<FakeRunKey>(*this, place, p.canWrite), p.canWrite};
}

std::unique_ptr<forms::FormView> FakeFormHost::createView(forms::Form& form) {
    log.push_back("create " + form.name());
    return std::make_unique<FakeView>(*this, form, nextHandle++);
}

FakeView::FakeView(FakeFormHost& host, forms::Form& form, std::uintptr_t handle)
    : host_(host), form_(form), handle_(handle) {
    host_.views[&form_] = this;
}

FakeView::~FakeView() {
    host_.log.push_back("destroy " + form_.name());
    host_.views.erase(&form_);
}

void FakeView::controlChanged(forms::Control& control, forms::Property property) {
    changes.push_back(control.name() + "." + std::to_string(static_cast<int>(property)));
}

void FakeView::formChanged(forms::Property property) {
    changes.push_back(form_.name() + "." + std::to_string(static_cast<int>(property)));
}

void FakeView::show() {
    shown = true;
    host_.log.push_back("show " + form_.name());
}

void FakeView::hide() {
    shown = false;
    host_.log.push_back("hide " + form_.name());
}

void FakeView::popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) {
    host_.log.push_back("popup " + menu.name() + " default=" +
                        (defaultItem ? defaultItem->name() : std::string("none")));
}

}  // namespace fakes
