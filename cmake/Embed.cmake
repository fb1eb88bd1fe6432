# vmx_embed(target input symbol): compiles the contents of `input` into `target`
# as std::string_view vmx::embedded::<symbol>.
function(vmx_embed target input symbol)
  set(output ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/${input} -DOUTPUT=${output}
            -DSYMBOL=${symbol} -P ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/${input} ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE ${output})
endfunction()
