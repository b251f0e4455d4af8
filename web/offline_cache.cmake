# Makes the page's service worker (cmake -P, run by web.cmake after the page is linked): DIR
# holds the page's files, FILES lists them (;-separated), TEMPLATE is web/service-worker.js.in.
# The cache's name is a hash of the files' hashes, so that any changed file makes a new cache
# and the browser, seeing a new service worker, fetches the new build.
set(hashes "")
set(names "")
foreach(name ${FILES})
  file(SHA256 ${DIR}/${name} hash)
  string(APPEND hashes "${name} ${hash}\n")
  list(APPEND names "'${name}'")
endforeach()
string(SHA256 all "${hashes}")
string(SUBSTRING ${all} 0 16 ZB_OFFLINE_HASH)
list(JOIN names ", " ZB_OFFLINE_FILES)
configure_file(${TEMPLATE} ${DIR}/service-worker.js @ONLY)
