// SPDX-License-Identifier: MIT
#include "tests/pictures/harness.h"

#include <algorithm>

namespace tessaro::testing {

class SteerableEngine::SteerableRecordset : public catalogue::Recordset {
  public:
    explicit SteerableRecordset(std::shared_ptr<catalogue::Recordset> inner)
        : inner_(std::move(inner)) {}

    void moveFirst() override { inner_->moveFirst(); }
    void moveLast() override { inner_->moveLast(); }
    void moveNext() override {
        if (failNextMove_ != 0) {
            const int number = failNextMove_;
            failNextMove_ = 0;
            throw Error(number, "move refused by the test");
        }
        inner_->moveNext();
    }
    bool eof() const override { return inner_->eof(); }
    std::int64_t recordCount() const override { return inner_->recordCount(); }
    Variant field(std::string_view name) const override { return inner_->field(name); }
    void close() override { inner_->close(); }

    void failNextMove(int number) { failNextMove_ = number; }

  private:
    std::shared_ptr<catalogue::Recordset> inner_;
    int failNextMove_ = 0;
};

namespace {

class SteerableDatabase : public catalogue::Database {
  public:
    SteerableDatabase(std::shared_ptr<catalogue::Database> inner, SteerableEngine& engine)
        : inner_(std::move(inner)), engine_(engine) {}

    std::shared_ptr<catalogue::Recordset> openRecordset(std::string_view sql) override {
        return engine_.track(inner_->openRecordset(sql));
    }
    void close() override { inner_->close(); }

  private:
    std::shared_ptr<catalogue::Database> inner_;
    SteerableEngine& engine_;
};

}  // namespace

std::shared_ptr<catalogue::Database> SteerableEngine::openDatabase(std::string_view path,
                                                                   bool exclusive, bool readOnly,
                                                                   std::string_view connect) {
    return std::make_shared<SteerableDatabase>(
        catalogue::processEngine().openDatabase(path, exclusive, readOnly, connect), *this);
}

std::shared_ptr<catalogue::Recordset> SteerableEngine::track(
    std::shared_ptr<catalogue::Recordset> inner) {
    last_ = std::make_shared<SteerableRecordset>(std::move(inner));
    return last_;
}

catalogue::Recordset& SteerableEngine::lastRecordset() const {
    return *last_;
}

void SteerableEngine::failNextMove(int number) const {
    last_->failNextMove(number);
}

namespace {

std::unique_ptr<media::SimBackend> makeBackend(sim::VirtualClock& clock, media::SimBackend*& keep) {
    auto backend = std::make_unique<media::SimBackend>(clock);
    keep = backend.get();
    return backend;
}

}  // namespace

Harness::Harness()
    : interpreter(makeBackend(clock, backend)),
      control(ControlServices{engine, hooked, container, moduleFolder}) {
    interpreter.setErrorReporter(
        [this](const std::string& message) { mediaErrors.push_back(message); });
    control.InitProperties();
}

void Harness::declareNarration(const std::string& name, double lengthMs) {
    backend->declareMedia(narrationPath(name), lengthMs);
}

void Harness::declarePicture(const std::string& imageName) {
    container.pictures().declarePicture(picturePath(imageName));
}

void Harness::declareDamagedPicture(const std::string& imageName) {
    container.pictures().declareNoPicture(picturePath(imageName));
}

void Harness::declareVideo(const std::string& videoName, double lengthMs) {
    backend->declareMedia(course.resourcedir() + "\\video\\" + videoName, lengthMs, 25);
}

void Harness::name(const std::string& asanaName) {
    control.Resourcedir(course.resourcedir());
    control.AsanaNaME(asanaName);
    container.clearRecords();
    commands.clear();
}

std::string Harness::videoOpenCommand(const std::string& videoName) const {
    return "open " + course.resourcedir() + "\\video\\" + videoName +
           "  alias video type mpegVideo  style child parent  " +
           std::to_string(control.Picture1().windowHandle());
}

std::string Harness::narrationPath(const std::string& name) const {
    return course.resourcedir() + "\\sound\\mp2\\" + name + ".mp2";
}

std::string Harness::picturePath(const std::string& imageName) const {
    return course.resourcedir() + "\\video\\" + imageName;
}

std::string Harness::shown() const {
    return control.Picture1().picture().source();
}

bool Harness::runUntilVideoEnd(std::int64_t limitMs) {
    return container.runUntil([this] { return count("VideoEnd") > 0; }, limitMs);
}

int Harness::count(const std::string& event) const {
    const auto events = container.events();
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

}  // namespace tessaro::testing
