#!/usr/bin/env python3
# Zips the release: the given files of the build folder, in their order, then README.txt (Windows
# line ends, version and the source tree's commit filled in); writes SHA256SUMS beside the zip in
# the form `sha256sum -c` reads. Every entry gets the same time (the build date, else now), mode
# 644 and no extra fields, so the zip's bytes depend on the files' bytes and the commit alone.
# Usage: package.py BUILD-FOLDER ZIP README VERSION EPOCH|"" SOURCE-TREE FILE...
import hashlib
import os
import subprocess
import sys
import time
import zipfile


def entry(name, seconds):
    info = zipfile.ZipInfo(name, time.gmtime(seconds)[:6])
    info.create_system = 3  # Unix, for the mode below
    info.external_attr = 0o100644 << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def commit(source):
    """The commit the sources come from, said to carry changes of their own when they do."""
    git = ["git", "-C", source]
    try:
        head = subprocess.run(git + ["rev-parse", "HEAD"], capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "(unknown: built outside a git checkout)"
    changed = subprocess.run(git + ["diff", "--quiet", "HEAD", "--"], capture_output=True).returncode != 0
    return head + (" with local changes" if changed else "")


def write_new(path, write):
    """Writes the file under a temporary name, renamed when complete: a failed run leaves none."""
    temporary = path + ".part"
    try:
        write(temporary)
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.remove(temporary)
        raise


def main():
    folder, zip_name, readme, version, epoch, source, files = *sys.argv[1:7], sys.argv[7:]
    path, sums_path = os.path.join(folder, zip_name), os.path.join(folder, "SHA256SUMS")
    for stale in (path, sums_path):  # a failed run leaves neither
        if os.path.exists(stale):
            os.remove(stale)
    # A zip's time cannot lie before 1980.
    seconds = max(int(epoch) if epoch else int(time.time()), 315532800)
    text = open(readme, encoding="utf-8").read().replace("@VERSION@", version).replace("@COMMIT@", commit(source))
    contents = [(name, open(os.path.join(folder, name), "rb").read()) for name in files]
    contents.append(("README.txt", text.replace("\n", "\r\n").encode("utf-8")))

    def write_zip(temporary):
        with zipfile.ZipFile(temporary, "w") as archive:
            for name, data in contents:
                archive.writestr(entry(name, seconds), data, compresslevel=9)

    def write_sums(temporary):
        with open(temporary, "w", newline="\n") as sums:
            sums.write("%s  %s\n" % (hashlib.sha256(open(path, "rb").read()).hexdigest(), zip_name))

    write_new(path, write_zip)
    write_new(sums_path, write_sums)
    print("%s and SHA256SUMS" % path)


main()
