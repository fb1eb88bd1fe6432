# Compiles a text file into the program as a byte array, so the program carries
# its data and reads no file at run time.
#
# Included: vmx_embed(target input symbol) adds the contents of `input` (in the
# source tree, or an absolute path such as a file generated in the build tree)
# to `target` as std::string_view vmx::embedded::<symbol>.
# As a script (the build step vmx_embed sets up):
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P Embed.cmake
if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(VMX_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
  function(vmx_embed target input symbol)
    set(output ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
    set(path ${input})
    if(NOT IS_ABSOLUTE ${path})
      set(path ${CMAKE_SOURCE_DIR}/${input})
    endif()
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${path} -DOUTPUT=${output}
              -DSYMBOL=${symbol} -P ${VMX_EMBED_SCRIPT}
      DEPENDS ${path} ${VMX_EMBED_SCRIPT}
      COMMENT "Embedding ${input}")
    target_sources(${target} PRIVATE ${output})
  endfunction()
  return()
endif()

file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "namespace vmx::embedded {\n"
  "static const unsigned char kData[] = {\n${bytes}0};\n"
  "extern const std::string_view ${SYMBOL}(reinterpret_cast<const char*>(kData), ${size});\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
