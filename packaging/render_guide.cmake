# Renders README.md into the user guide: one self-contained HTML page (no
# outside style sheet, script, font or picture), the README's GitHub-flavoured
# Markdown through cmark-gfm, placed into oradel-guide.html.in.
#   cmake -DCMARK_GFM=… -DREADME=… -DTEMPLATE=… -DVERSION=… -DOUTPUT=… -P render_guide.cmake
execute_process(
    COMMAND ${CMARK_GFM} --to html --extension table --extension autolink ${README}
    OUTPUT_VARIABLE GUIDE_BODY
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not render ${README}")
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
