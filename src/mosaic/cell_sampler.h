#pragma once

#include <QImage>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "mosaic/candidate_search.h"

namespace tessaly {

// A cell an arrangement offers: its top-left canvas pixel and its size.
struct LaidCell {
    int x;
    int y;
    float width;
    float height;
};

// The section averages of the cells an arrangement offers, one run of cells
// (a grid, a band, a ring) at a time. A helper thread samples the cells a
// little ahead of the placement, which asks for the cells it needs in order
// and may skip any. A cell the helper has not taken yet is sampled on the
// spot, and while the helper finishes the cell the placement wants, the
// placement samples cells further on. Either way a cell gets the same values.
// The helper is started with the first run worth it and lives until the
// sampler goes.
class CellSampler {
public:
    CellSampler(const QImage& surface, int sectionCount);
    ~CellSampler();
    CellSampler(const CellSampler&) = delete;
    CellSampler& operator=(const CellSampler&) = delete;

    // Starts a run of cells; `cells` must stay valid until Finish.
    void Start(std::span<const LaidCell> cells);
    // The sections of cell i of the run, zero past the section count. Calls
    // come with increasing i.
    const PaddedColours& At(int i);
    // Ends the run: the helper stops sampling it.
    void Finish();

private:
    enum State : std::uint8_t { kFree, kBusy, kReady };
    // How far the helper runs ahead of the placement.
    static constexpr int kAhead = 64;

    void Help();
    // Samples cell i unless another thread has taken it; true when it did.
    bool Claim(int i);
    void Sample(int i);

    const QImage& surface_;
    int sectionCount_;
    std::span<const LaidCell> cells_;
    std::unique_ptr<PaddedColours[]> samples_;
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
    std::size_t capacity_ = 0;
    bool helped_ = false;         // whether the helper works on this run
    int notified_ = 0;            // where the helper was last woken for
    std::atomic<int> wanted_{0};  // the cell the placement has reached
    std::atomic<int> run_{0};     // counts the runs handed to the helper
    std::atomic<int> done_{0};    // the last run the helper has let go of
    std::atomic<bool> quit_{false};
    std::thread helper_;
};

}  // namespace tessaly
