# Puts a member that is no vCard into a Radicale address book folder, with
# the cache entry Radicale keeps for every member, so that the server serves
# its text as it is (as it does for a member it read once and kept).
# Usage: foreign_member.py BOOK_FOLDER NAME TEXT
import hashlib
import os
import pickle
import sys

from radicale import storage

folder, name, text = sys.argv[1:4]
raw = text.encode("utf-8")
with open(os.path.join(folder, name), "wb") as f:
    f.write(raw)
key = hashlib.sha256()
key.update(storage.CACHE_VERSION)
key.update(raw)
cache = os.path.join(folder, ".Radicale.cache", "item")
os.makedirs(cache, exist_ok=True)
etag = '"%s"' % hashlib.sha256(raw).hexdigest()
with open(os.path.join(cache, name), "wb") as f:
    pickle.dump((key.hexdigest(), "foreign-" + name, etag, text, "VCARD", "VCARD", 0, 0), f)
