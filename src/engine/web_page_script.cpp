// The end of the page: with filter words the script that drives the filter
// buttons and the "Вид" button, then the applications block and the closing tags.

#include <array>

#include "engine/web_page_parts.hpp"

namespace oradel::web_page {
namespace {

// The script after its opening lines and the "deto" line. filterSelection()
// shows the point divisions whose class words after "filterDiv" hold the
// pressed word's class ("all", which no word's class can be, shows every one); after filterPlus() the next word adds
// its points to those shown. Every bar button takes "active" from the one that
// had it. det_open() sets every collapsible block to "deto" and inverts it.
constexpr std::array<std::string_view, 60> kScriptAfterDeto = {
    "",
    "filterSelection(\"all\")",
    "",
    "function filterPlus() { plus = 1;}",
    "",
    "function filterSelection(c) {",
    "  var x, i, j, arr3, ff;",
    "  x = document.getElementsByClassName(\"filterDiv\");",
    "  for (i = 0; i < x.length; i++) {",
    "    if (plus != 1) w3RemoveClass(x[i], \"show\");",
    "    arr3 = x[i].className.split(\" \");",
    "    if (c == \"all\") ff=1",
    "    else { ff = 0;",
    "           for (j = 1; j < arr3.length; j++) {",
    "             if (arr3[j]==c) ff = 1;",
    "           }",
    "         }",
    "    if (ff==1) w3AddClass(x[i], \"show\");",
    "  }",
    "  plus = 0;",
    "}",
    "",
    "function w3AddClass(element, name) {",
    "  var i, arr1, arr2;",
    "  arr1 = element.className.split(\" \");",
    "  arr2 = name.split(\" \");",
    "  for (i = 0; i < arr2.length; i++) {",
    "    if (arr1.indexOf(arr2[i]) == -1) {element.className += \" \" + arr2[i];}",
    "  }",
    "}",
    "",
    "function w3RemoveClass(element, name) {",
    "  var i, arr1, arr2;",
    "  arr1 = element.className.split(\" \");",
    "  arr2 = name.split(\" \");",
    "  for (i = 0; i < arr2.length; i++) {",
    "    while (arr1.indexOf(arr2[i]) > -1) {",
    "      arr1.splice(arr1.indexOf(arr2[i]), 1);",
    "    }",
    "  }",
    "  element.className = arr1.join(\" \");",
    "}",
    "",
    "var btnContainer = document.getElementById(\"myBtnContainer\");",
    "var btns = btnContainer.getElementsByClassName(\"btn\");",
    "for (var i = 0; i < btns.length; i++) {",
    "  btns[i].addEventListener(\"click\", function(){",
    "    var current = document.getElementsByClassName(\"active\");",
    "    current[0].className = current[0].className.replace(\" active\", \"\");",
    "    this.className += \" active\";",
    "  });",
    "}",
    "",
    "function det_open() {",
    "  let dets = document.getElementsByTagName(\"details\");",
    "  for (let det of dets) { det.open = deto; }",
    "  deto = !deto;",
    "}",
    "</script>",
    "",
};

void WriteFilterScript(TextOutput& out, const PageOptions& options) {
    out.WriteLine("<script>");
    out.WriteLine("var plus = 0;");
    // Blocks that start open are closed by the first press of "Вид".
    out.WriteLine(options.startOpen ? "var deto = false;" : "var deto = true;");
    for (const std::string_view line : kScriptAfterDeto) out.WriteLine(line);
}

}  // namespace

void WritePageEnd(TextOutput& out, const PageOptions& options) {
    if (options.filter) {
        out.WriteLine("</div>");  // the container of the point divisions
        out.WriteLine("");
        WriteFilterScript(out, options);
    }
    WriteApplications(out, options);
    out.WriteLine("</body>");
    out.WriteLine("</html>");
}

}  // namespace oradel::web_page
