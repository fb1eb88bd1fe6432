# The browser interface: bundled by esbuild from web/ (its packages installed
# by scripts/bootstrap from the lock file) and compiled into the service.
find_program(VMX_NODE node REQUIRED)
set(web_dir ${CMAKE_SOURCE_DIR}/web)
set(web_out ${CMAKE_BINARY_DIR}/web)
file(GLOB_RECURSE web_sources CONFIGURE_DEPENDS ${web_dir}/src/*)
set(web_files index.html index.html.gz app.js app.js.gz app.css app.css.gz)
list(TRANSFORM web_files PREPEND ${web_out}/ OUTPUT_VARIABLE web_outputs)
add_custom_command(
  OUTPUT ${web_outputs}
  COMMAND ${VMX_NODE} ${web_dir}/build.mjs ${web_out}
  DEPENDS ${web_sources} ${web_dir}/build.mjs ${web_dir}/package-lock.json
  WORKING_DIRECTORY ${web_dir}
  COMMENT "Bundling the browser interface")
foreach(file IN LISTS web_files)
  string(REGEX REPLACE "[^a-z]" "_" symbol "web_${file}")
  vmx_embed(vmxservice ${web_out}/${file} ${symbol})
endforeach()
