// The options of a conversion run as typed values: which operations run and
// how the web page looks. A default-constructed Options is the state of a
// first start: the operations the mode table ticks then, every page box
// ticked except that the point blocks start closed, and the car fields empty.
#pragma once

#include <cstdint>
#include <string>

namespace oradel {

// The web page's options.
struct PageOptions {
    bool filter = true;       // filter buttons and point divisions
    bool collapsible = true;  // points in collapsible blocks
    bool startOpen = false;   // the collapsible blocks start open
    // Links of every point: weather, then map, then terrain; each of the
    // first two groups may end its line.
    bool windy = true;
    bool soundingDiagram = true;
    bool yandexNowcast = true;
    bool meteonova = true;
    bool windMap = true;
    bool weatherLineBreak = true;
    bool googleMap = true;
    bool yandexMap = true;
    bool mapLineBreak = true;
    bool thermalMap = true;
    bool heightMap = true;
    // The applications block at the end of the page.
    bool trackViewer = true;
    bool trackConverter = true;
    bool coordinateConverter = true;
    bool trafficFines = true;
    // The car the traffic-fines link asks about, in Windows-1251.
    std::string carNumber;
    std::string carRegion;
    std::string registrationCertificate;
};

// Which operations a run performs, by mode number.
class ModeSelection {
  public:
    // The operations ticked on the window's first start.
    static ModeSelection FirstStart();

    bool Has(int mode) const { return (bits_ >> mode & 1) != 0; }
    void Set(int mode, bool ticked) {
        const std::uint64_t bit = std::uint64_t{1} << mode;
        bits_ = ticked ? bits_ | bit : bits_ & ~bit;
    }
    bool operator==(const ModeSelection&) const = default;

  private:
    std::uint64_t bits_ = 0;  // bit N: mode N (mode numbers are below 64)
};

struct Options {
    ModeSelection operations = ModeSelection::FirstStart();
    PageOptions page;
};

}  // namespace oradel
