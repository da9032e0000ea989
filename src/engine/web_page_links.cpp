// The page's links to outside services: the link lines of every point and the
// applications block at the end. All service addresses are in kServices. The
// page is UTF-8, so the Cyrillic captions are written as they stand.

#include <array>
#include <initializer_list>
#include <span>
#include <string>

#include "engine/web_page_parts.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
#include "text/utf8.hpp"

namespace oradel::web_page {
namespace {

// Scheme and host of every outside service the page opens; each link appends
// its own path and query.
struct ServiceAddresses {
    std::string_view windy;
    std::string_view yandex;  // weather nowcast and map
    std::string_view meteonova;
    std::string_view windMap;
    std::string_view googleMaps;
    std::string_view thermalMap;
    std::string_view heightMap;
    std::string_view trackViewer;
    std::string_view trackConverter;
    std::string_view coordinateConverter;
    std::string_view trafficFines;
};

constexpr ServiceAddresses kServices{
    .windy = "https://www.windy.com",
    .yandex = "https://yandex.ru",
    .meteonova = "https://www.meteonova.ru",
    .windMap = "https://earth.nullschool.net",
    .googleMaps = "https://www.google.com",
    .thermalMap = "https://thermal.kk7.ch",
    .heightMap = "https://contourmapcreator.urgr8.ch",
    .trackViewer = "https://flyxc.app",
    .trackConverter = "https://www.kompf.de",
    .coordinateConverter = "https://traveleu.ru",
    .trafficFines = "https://xn--90adear.xn--p1ai",
};

// The coordinate texts of a point, already in UTF-8.
struct Position {
    std::string_view lat;
    std::string_view lon;
};

// Appends the pieces to `line` in place.
void Append(std::string& line, std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) line += piece;
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    Append(text, pieces);
    return text;
}

// One link of a point: the option that shows it, its service, the path and query
// built from the coordinates, and the closing piece with caption and separator.
struct PointLink {
    bool PageOptions::*shownBy;
    std::string_view address;
    void (*appendPath)(std::string& line, Position p);
    std::string_view closing;
};

using P = PageOptions;

constexpr std::array kWeatherLinks = {
    PointLink{&P::windy, kServices.windy,
              [](std::string& line, Position p) {
                  Append(line, {"/", p.lat, "/", p.lon, "?", p.lat, ",", p.lon, ",14"});
              },
              "\" target=\"_blank\">Windy</a> , "},
    PointLink{&P::soundingDiagram, kServices.windy,
              [](std::string& line, Position p) {
                  Append(line, {"/sounding/", p.lat, "/", p.lon, "?", p.lat, ",", p.lon, ",14"});
              },
              "\" target=\"_blank\">АэроДиаграмма</a> , "},
    PointLink{
        &P::yandexNowcast, kServices.yandex,
        [](std::string& line, Position p) {
            Append(line, {"/pogoda/maps/nowcast?le_Lightning=1&ll=", p.lon, "_", p.lat, "&z=14"});
        },
        "\" target=\"_blank\">Yandex</a> , "},
    PointLink{&P::meteonova, kServices.meteonova,
              [](std::string& line, Position p) {
                  Append(line, {"/frcgeo/?fi=", p.lat, "&la=", p.lon});
              },
              "\" target=\"_blank\">Meteonova</a> , "},
    PointLink{&P::windMap, kServices.windMap,
              [](std::string& line, Position p) {
                  Append(line, {"/ru/#current/wind/surface/level/orthographic=", p.lon, ",", p.lat,
                                ",3226/loc=", p.lon, ",", p.lat});
              },
              "\" target=\"_blank\">Карта ветров</a> , "},
};

constexpr std::array kMapLinks = {
    PointLink{&P::googleMap, kServices.googleMaps,
              [](std::string& line, Position p) {
                  Append(line, {"/maps/place/", p.lat, ",", p.lon, "/@", p.lat, ",", p.lon,
                                ",14z/data=!5m1!1e4?entry=ttu"});
              },
              "\" target=\"_blank\">Google</a> , "},
    PointLink{&P::yandexMap, kServices.yandex,
              [](std::string& line, Position p) {
                  Append(line, {"/maps/?ll=", p.lon, "%2C", p.lat, "&mode=search&sll=", p.lon,
                                "%2C", p.lat, "&text=", p.lat, "%2C", p.lon, "&z=14"});
              },
              "\" target=\"_blank\">Yandex</a> , "},
};

constexpr std::array kTerrainLinks = {
    PointLink{&P::thermalMap, kServices.thermalMap,
              [](std::string& line, Position p) {
                  Append(line, {"/#", p.lat, ",", p.lon, ",13z"});
              },
              "\" target=\"_blank\">Термиков</a> , "},
    PointLink{&P::heightMap, kServices.heightMap,
              [](std::string& line, Position p) {
                  Append(line, {"/#", p.lat, ",", p.lon, ",15z,", p.lat, ",", p.lon, "i,tb,0v30l"});
              },
              "\" target=\"_blank\">Высот</a> "},
};

// A labelled run of links; it ends with "<br>" when its line-break option is
// set, or always when it has none.
struct LinkGroup {
    std::string_view label;
    std::span<const PointLink> links;
    bool PageOptions::*lineBreakBy;
};

constexpr std::array kLinkGroups = {
    LinkGroup{" Погода: ", kWeatherLinks, &P::weatherLineBreak},
    LinkGroup{" На карте: ", kMapLinks, &P::mapLineBreak},
    LinkGroup{" Карта: ", kTerrainLinks, nullptr},
};

void WriteLinkGroup(TextOutput& out, const PageOptions& options, const LinkGroup& group,
                    Position position, std::string& line) {
    bool labelWritten = false;
    for (const PointLink& link : group.links) {
        if (!(options.*link.shownBy)) continue;
        if (!labelWritten) out.WriteLine(group.label);
        labelWritten = true;
        line.clear();
        Append(line, {"<a href=\"", link.address});
        link.appendPath(line, position);
        line += link.closing;
        out.WriteLine(line);
    }
    const bool lineBreak = group.lineBreakBy == nullptr || options.*group.lineBreakBy;
    if (labelWritten && lineBreak) out.WriteLine("<br>");
}

// Windows-1251 text percent-encoded as UTF-8 for a web address.
std::string EncodedField(std::string_view windows1251) {
    std::u16string wide;
    wide.reserve(windows1251.size());
    for (const char byte : windows1251) {
        wide.push_back(
            static_cast<char16_t>(Windows1251ToUnicode(static_cast<unsigned char>(byte))));
    }
    return UrlEncodeUtf8(wide);
}

}  // namespace

void WriteLinkLines(TextOutput& out, const PageOptions& options, std::string_view lat,
                    std::string_view lon, std::string& line) {
    for (const LinkGroup& group : kLinkGroups)
        WriteLinkGroup(out, options, group, {lat, lon}, line);
}

void WriteApplications(TextOutput& out, const PageOptions& options) {
    const bool viewer = options.trackViewer;
    const bool converter = options.trackConverter;
    const bool coordinates = options.coordinateConverter;
    const bool fines = options.trafficFines;
    if (!viewer && !converter && !coordinates && !fines) return;

    for (const std::string_view line :
         {"<p>", "<hr>", "<p>", "<b><font color=#008000> Приложения: </font></b><br>", "<p>"}) {
        out.WriteLine(line);
    }
    if (viewer) {
        out.WriteLine(Concat({"<a href=\"", kServices.trackViewer,
                              "/\" target=\"_blank\">Просмотр IGC и GPX </a> <br>"}));
    }
    if (converter) {
        out.WriteLine(Concat({"<a href=\"", kServices.trackConverter,
                              "/gps/\" target=\"_blank\">Конвертер треков </a> <br>"}));
    }
    if (coordinates) {
        out.WriteLine(
            Concat({"<a href=\"", kServices.coordinateConverter,
                    "/map/GPSconverter.htm\" target=\"_blank\">Конвертер координат </a> <br>"}));
    }
    if (fines) {
        out.WriteLine(
            Concat({"<a href=\"", kServices.trafficFines, "/check/fines/#",
                    EncodedField(options.carNumber), "+", EncodedField(options.carRegion), "+",
                    EncodedField(options.registrationCertificate),
                    "\" target=\"_blank\">Проверка штрафов в ГИБДД по номеру </a> <br>"}));
    }
}

}  // namespace oradel::web_page
