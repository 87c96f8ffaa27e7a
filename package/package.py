#!/usr/bin/env python3
# Zips the release: the given files of the build folder, in their order, then README.txt (Windows
# line ends, version filled in); writes SHA256SUMS beside the zip in the form `sha256sum -c` reads.
# Every entry gets the same time (the build date, else now), mode 644 and no extra fields, so the
# zip's bytes depend on the files' bytes alone.
# Usage: package.py BUILD-FOLDER ZIP README VERSION EPOCH|"" FILE...
import hashlib
import os
import sys
import time
import zipfile


def entry(name, seconds):
    info = zipfile.ZipInfo(name, time.gmtime(seconds)[:6])
    info.create_system = 3  # Unix, for the mode below
    info.external_attr = 0o100644 << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    folder, zip_name, readme, version, epoch, files = *sys.argv[1:6], sys.argv[6:]
    path, sums_path = os.path.join(folder, zip_name), os.path.join(folder, "SHA256SUMS")
    for stale in (path, sums_path):  # a failed run leaves neither
        if os.path.exists(stale):
            os.remove(stale)
    # A zip's time cannot lie before 1980.
    seconds = max(int(epoch) if epoch else int(time.time()), 315532800)
    text = open(readme, encoding="utf-8").read().replace("@VERSION@", version).replace("\n", "\r\n")
    contents = [(name, open(os.path.join(folder, name), "rb").read()) for name in files]
    contents.append(("README.txt", text.encode("utf-8")))
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in contents:
            archive.writestr(entry(name, seconds), data, compresslevel=9)
    digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
    with open(sums_path, "w", newline="\n") as sums:
        sums.write("%s  %s\n" % (digest, zip_name))
    print("%s and SHA256SUMS" % path)


main()
