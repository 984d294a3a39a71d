"""Output plumbing shared by the default-data converters.

Every converter writes its whole result through write_atomically, so an
interrupted set-up never leaves a half-written file that prepare-data.sh
would then take for a finished one.
"""
import os
import sys
import tempfile


def write_atomically(path, data):
    """Replaces path by data (bytes) via a temporary file in the same folder."""
    folder = os.path.dirname(os.path.abspath(path))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".part-")
    try:
        with os.fdopen(handle, "wb") as out:
            out.write(data)
            # On disk before the rename, so a crash cannot leave the new
            # name on a file whose data never arrived.
            out.flush()
            os.fsync(out.fileno())
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.unlink(temporary)
        raise


def fail(message):
    """Ends the converter with a message that names it."""
    sys.stderr.write("%s: %s\n" % (os.path.basename(sys.argv[0]), message))
    sys.exit(1)


def fixed(text, width):
    """text cut or padded with blanks to exactly width characters."""
    return text[:width].ljust(width)
