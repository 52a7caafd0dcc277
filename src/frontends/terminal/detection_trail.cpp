#include "detection_trail.h"

#include <utility>

#include "detect/detect.h"
#include "detect/platform_test.h"

namespace setup {

namespace {

// Files each finding of the detection, with the registry calls made since
// the one before it.
class TrailRecorder : public detect::DetectionObserver {
  public:
    TrailRecorder(TracingRegistry& registry, DetectionTrail& trail)
        : registry_(registry), trail_(trail) {}

    void HomeLetterRead(std::optional<std::uint8_t> home) override {
        trail_.homeRead = true;
        trail_.home = home;
    }
    void GroupTested(const detect::DriveGroup& group, detect::IdList list, const char* entry,
                     std::string_view text) override {
        TakeCountCalls();
        trail_.groups.push_back({&group, list, entry, std::string(text)});
    }
    void DrivesCounted(int mix) override {
        TakeCountCalls();
        trail_.mix = mix;
    }
    void LetterLookedUp(int /*step*/, const char* usbId,
                        const detect::LetterLookup& lookup) override {
        lookups_.push_back({usbId, lookup, registry_.TakeCalls()});
    }
    void StepDone(int step, std::uint8_t letter, bool filtered) override {
        trail_.steps.push_back({step, std::exchange(lookups_, {}), letter, filtered});
    }
    void Verdict(int step, std::uint8_t letter, int variant,
                 detect::VerdictReason reason) override {
        trail_.chosenStep = step;
        trail_.letter = letter;
        trail_.variant = variant;
        trail_.reason = reason;
    }

  private:
    void TakeCountCalls() {
        for (RegistryCall& call : registry_.TakeCalls()) {
            trail_.countCalls.push_back(std::move(call));
        }
    }

    TracingRegistry& registry_;
    DetectionTrail& trail_;
    std::vector<LookupFinding> lookups_;
};

}  // namespace

DetectionTrail TraceDetection(platform::Platform& os) {
    TracingRegistry registry(os.registry);
    platform::Platform traced{os.files, registry, os.system, os.ui};
    DetectionTrail trail;
    trail.ntFamily = detect::IsNtPlatform(os.system);
    TrailRecorder recorder(registry, trail);
    int variant = detect::kVariantNone;
    detect::DetectSupportedDrive(traced, variant, recorder);
    return trail;
}

}  // namespace setup
