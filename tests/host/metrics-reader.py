#!/usr/bin/env python3
"""Reads the metrics file in a tight loop until STOP_FILE exists, the way a textfile collector
may read it at any moment, and fails on any partial or malformed file. Every distinct text it
saw is saved in SEEN_DIR for promtool.
    metrics-reader.py METRICS_FILE STOP_FILE SEEN_DIR"""
import os
import re
import sys

path, stop, seen_dir = sys.argv[1:4]
os.makedirs(seen_dir, exist_ok=True)
name = r'[a-zA-Z_:][a-zA-Z0-9_:]*'
sample = re.compile(r'^(' + name + r')(\{[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\.)*"(?:,[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\.)*")*\})? '
                    r'(-?[0-9]+(?:\.[0-9]+)?|\+Inf|-Inf|NaN)$')
comment = re.compile(r'^# (HELP ' + name + r' .*|TYPE ' + name + r' (counter|gauge|histogram|summary|untyped))$')
last_family = 'vaderur_last_update_timestamp_seconds'


def check(data):
    if data.startswith(b'\xef\xbb\xbf'):
        return 'starts with a BOM'
    if b'\r' in data:
        return 'has a carriage return'
    if not data.endswith(b'\n'):
        return 'does not end with a line feed'
    text = data.decode('ascii')
    lines = text[:-1].split('\n')
    for line in lines:
        if not (sample.match(line) or comment.match(line)):
            return 'malformed line: %r' % line
    if not lines[-1].startswith(last_family + ' '):
        return 'the last family is missing (cut short)'
    return None


reads = 0
missing = 0
seen = {}
while not os.path.exists(stop):
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except FileNotFoundError:
        missing += 1
        continue
    reads += 1
    problem = check(data) if data else 'empty'
    if problem:
        print('metrics-reader: read %d %s:\n%s' % (reads, problem, data.decode('latin-1')))
        sys.exit(1)
    if data not in seen:
        seen[data] = len(seen)
        with open(os.path.join(seen_dir, 'seen-%03d.prom' % seen[data]), 'wb') as out:
            out.write(data)
print('metrics-reader: %d whole reads of %d distinct files, none partial or malformed (%d tries found no file)'
      % (reads, len(seen), missing))
sys.exit(0 if reads > 0 else 1)
