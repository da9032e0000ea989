// The options of a conversion run as typed values: which operations run and
// how the web page looks. A default-constructed Options is the state of a
// first start: every box ticked except that the point blocks start closed, and
// the car fields empty.
#pragma once

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

struct Options {
    // The six operations, in the order in which a run performs them.
    bool importXCTrackExport = true;
    bool importNavitelGpx = true;
    bool writeXCTrackWaypoints = true;
    bool writeNavitelWaypoints = true;
    bool writeWebPage = true;
    bool writeLK8000Waypoints = true;
    PageOptions page;
};

// Shows a message to the user (the window's message box, the console's stderr).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // `text` is UTF-8.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace oradel
