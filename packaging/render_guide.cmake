# Renders a user guide (docs/guide.LANGUAGE.md) into one self-contained HTML
# page (no outside style sheet, script, font or picture): its GitHub-flavoured
# Markdown through cmark-gfm, placed into oradel-guide.html.in. Links between
# the guides and to the example list are turned from the source tree's names
# into those the packages ship beside the pages.
#   cmake -DCMARK_GFM=… -DSOURCE=… -DTEMPLATE=… -DLANGUAGE=ru|en -DVERSION=… -DOUTPUT=…
#         -P render_guide.cmake
execute_process(
    COMMAND ${CMARK_GFM} --to html --extension table --extension autolink ${SOURCE}
    OUTPUT_VARIABLE GUIDE_BODY
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not render ${SOURCE}")
endif()
string(REPLACE "href=\"guide.ru.md" "href=\"oradel-guide.html" GUIDE_BODY "${GUIDE_BODY}")
string(REPLACE "href=\"guide.en.md" "href=\"oradel-guide.en.html" GUIDE_BODY "${GUIDE_BODY}")
string(REPLACE "href=\"../examples/" "href=\"examples/" GUIDE_BODY "${GUIDE_BODY}")
if(LANGUAGE STREQUAL "ru")
    set(GUIDE_TITLE "руководство пользователя")
else()
    set(GUIDE_TITLE "user guide")
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
