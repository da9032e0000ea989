#include "engine/file_formats.hpp"

#include <gtest/gtest.h>

#include <string>

namespace oradel {
namespace {

// What the first bytes of a file say it is.
TEST(FileFormats, RecognisedByTheFirstMeaningfulLines) {
    using enum FileFormat;
    const std::pair<std::string, FileFormat> cases[] = {
        {"", Empty},
        {"\r\n \t\r\n", Empty},
        {std::string(kRecognisedBytes, ' '), Unknown},  // a longer file that starts blank
        {"\xEF\xBB\xBF$FormatGEO\r\n", GeoWaypoints},
        {"\r\n\r\nЮца  N 43 57 40.32  E 042 59 04.20  0  старт\r\n", GeoWaypoints},
        {"G  WGS 84\r\nU  1\r\n", CompeGpsWaypoints},
        {"W  A A 1.0\xBA"
         "N 2.0\xBA"
         "E 27-MAR-62 00:00:00 0.000000 x\r\n",
         CompeGpsWaypoints},
        {"OziExplorer Waypoint File Version 1.1\r\n", OziWaypoints},
        {"name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n", CupWaypoints},
        {"* tasks\r\nTitle,Code,Country,Latitude,Longitude\r\n", CupWaypoints},
        {"\"Юца\",\"Y\",RU,4357.672N,04259.070E,1850m,1,,,,\r\n", CupWaypoints},
        {"\"Юца\",\"Y\",RU,43.96,42.98\r\n", PlainText},
        {"<?xml version='1.0'?>\n<gpx version='1.1'>", Gpx},
        {"<wpt lat='1' lon='2'/>", Gpx},
        {"<?xml version='1.0'?>\n<kml>", OtherXml},
        {"<С>\r\n1 2\r\n", PointList},
        {":Кавказ\r\n:Юг\r\nЮца <Ю>\r\n43,96 42,98\r\n", PointList},
        {"Юца\r\n43.96\r\n", PlainText},
        {std::string("\xFF\xFE<\0g\0", 6), Utf16Text},
        {std::string("A\r\n1 2\0", 8), Binary},
    };
    for (const auto& [head, format] : cases) EXPECT_EQ(RecogniseFormat(head), format) << head;
}

}  // namespace
}  // namespace oradel
