# Stages ostrel.exe, ostrel.chm and README.txt (with Windows line ends and the version filled
# in), zips them as ZIP and writes SHA256SUMS for it in the form `sha256sum -c` reads.
# Usage: cmake -DOUT=build-folder -DZIP=name.zip -DREADME=path -DVERSION=x.y -P package.cmake
cmake_policy(VERSION 3.20)
set(stage ${OUT}/release)
file(REMOVE_RECURSE ${stage})
file(REMOVE ${OUT}/${ZIP} ${OUT}/SHA256SUMS)
file(COPY ${OUT}/ostrel.exe ${OUT}/ostrel.chm DESTINATION ${stage})
file(READ ${README} text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${stage}/README.txt "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${ZIP} --format=zip ostrel.exe ostrel.chm README.txt
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${OUT}/${ZIP}: ${failed}")
endif()
file(SHA256 ${OUT}/${ZIP} sum)
file(WRITE ${OUT}/SHA256SUMS "${sum}  ${ZIP}\n")
message(STATUS "${OUT}/${ZIP} and SHA256SUMS")
