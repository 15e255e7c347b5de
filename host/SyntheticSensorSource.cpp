#include "host/SensorSource.h"

#include "host/SyntheticSource.h"

namespace {

class SyntheticSensorSource : public SensorSource {
public:
    explicit SyntheticSensorSource(uint32_t cores) : model(cores), coreCount(cores) {}

    bool Next(SensorSnapshot& snapshot) override
    {
        model.Next(snapshot);
        return true;
    }

    std::wstring Description() const override
    {
        return L"synthetic: " + std::to_wstring(coreCount) + L" cores, deterministic loads and temperatures, TjMax " +
               std::to_wstring(SyntheticSource::tjMax) + L" \u00B0C";
    }

    std::wstring Summary() const override { return L"synthetic, " + std::to_wstring(coreCount) + L" cores"; }

private:
    SyntheticSource model;
    uint32_t coreCount;
};

}  // namespace

std::unique_ptr<SensorSource> MakeSyntheticSource(uint32_t cores)
{
    return std::make_unique<SyntheticSensorSource>(cores);
}
