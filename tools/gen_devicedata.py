#!/usr/bin/env python3
"""Writes data/devicedata.ide from the gputils per-device headers.

Usage: tools/gen_devicedata.py [HEADER_DIR] [OUTPUT]
  HEADER_DIR defaults to /usr/share/gputils/header (Debian package gputils)
  OUTPUT     defaults to data/devicedata.ide beside this script's parent folder

File format read by the IDE: a line containing ':' is a device line, every other line is ignored,
so headings and comments here never contain a colon. A device line is

    PIC16F877A:PORTA=6,PORTB=8,PORTC=8,PORTD=8,PORTE=3,PBC

the upper-case name with its PIC prefix, a colon, one KEY=n entry per port (GPIO, PORTA..PORTH,
PORTJ; n is a single digit) and the marker PBC on parts the older PicBasic compiler supports.

Pin counts. Each port's count comes from that port's own bit section in the header
(";----- PORTA Bits ---"): the names RA0..RA7 (GP0..GP5 or GPIO0..GPIO5 for GPIO). Other names in
the section (alternate functions such as T0CKI, RDPU) are not pins of the port. The count is the
highest pin bit + 1, so a port that skips a bit (the 18F4550 has no RC3) still gives every real
pin its own number. A few early headers declare their port registers but have no bit sections;
they borrow the sections of a revision of the same part (16C62 -> 16C62A, 16C84 -> 16CR84) that
declares the same port registers. A header with no usable port data is left out.

PBC marker. The older compiler targets the 12- and 14-bit core parts of its time, so the marker
goes on exactly these families (regular expressions on the name without "PIC"):
  12C5xx, 12CE5xx, 12CR5xx, 12C67x, 12CE67x          baseline and early 8-pin parts
  16C5x, 16CR5x (and the 16C505)                      baseline 18/28-pin parts
  16C55x, 16C6x, 16CR6x, 16C62x, 16CE62x, 16CR62x     early mid-range
  16C7x, 16CR7x, 16C71x                               mid-range with A/D
  16C84, 16CR83/84, 16F83, 16F84(A)                   the first flash/EEPROM parts
  16F62x (A), 16F87x (A)                              the flash parts it still covered
Newer parts (12F, 16F6xx other than 62x, 16F8x other than 83/84/87x, enhanced mid-range 16F1xxx,
all 17C/18C/18F and LF parts) are PicBasic Pro only.

Order. On a first start the IDE selects list position 71 (0-based, counting device lines only),
so the generator writes DEFAULT_DEVICE there, under a heading of its own. The list begins with the
PBC-era classic parts in natural sort order (positions 0 to 70 and after the default), followed by
every other part grouped by family and sorted by number. No device is written twice.
"""

import os
import re
import sys

DEFAULT_DEVICE = "PIC16F877A"
DEFAULT_POSITION = 71

PORT_KEYS = ["GPIO", "PORTA", "PORTB", "PORTC", "PORTD", "PORTE", "PORTF", "PORTG", "PORTH", "PORTJ"]

PBC_FAMILIES = [
    r"12C5\d\d[A-Z]?", r"12CE5\d\d[A-Z]?", r"12CR5\d\d[A-Z]?", r"12C67\d", r"12CE67\d",
    r"16C5\d[A-Z]?", r"16CR5\d[A-Z]?", r"16C505",
    r"16C55\d[A-Z]?", r"16C6\d[A-Z]?", r"16CR6\d[A-Z]?",
    r"16C62\d[A-Z]?", r"16CE62\d", r"16CR62\d[A-Z]?",
    r"16C7\d[A-Z]?", r"16CR7\d[A-Z]?", r"16C71\d",
    r"16C84", r"16CR8[34]", r"16F8[34]A?",
    r"16F62[78]A?", r"16F87[0-7]A?",
]
PBC_RE = re.compile("^(?:" + "|".join(PBC_FAMILIES) + ")$")

HEADER_NAME_RE = re.compile(r"^p(1[0-8](?:C|CE|CR|F|LF|HV)\d+[A-WYZ0-9]*)\.inc$", re.IGNORECASE)
SECTION_RE = re.compile(r"^;-+\s*(\w+)\s+Bits\b")
EQU_RE = re.compile(r"^(\w+)\s+EQU\s+H'([0-9A-Fa-f]+)'")


def read_header(path):
    """Returns (declared port registers, {port key: pin count}) of one header."""
    declared = set()
    counts = {}
    section = None
    with open(path, encoding="latin-1") as f:
        for line in f:
            m = SECTION_RE.match(line)
            if m:
                section = m.group(1).upper()
                continue
            if line.startswith(";"):
                continue
            m = EQU_RE.match(line)
            if not m:
                continue
            name, value = m.group(1).upper(), int(m.group(2), 16)
            if section is None or section == "REGISTER":
                if name in PORT_KEYS:
                    declared.add(name)
                continue
            if section not in PORT_KEYS:
                continue
            pin = re.fullmatch(r"GP(?:IO)?(\d)", name) if section == "GPIO" else \
                re.fullmatch("R" + section[-1] + r"(\d)", name)
            if pin and int(pin.group(1)) == value and value < 8:
                counts[section] = max(counts.get(section, 0), value + 1)
    return declared, counts


def collect(header_dir):
    devices = {}
    raw = {}
    for entry in sorted(os.listdir(header_dir)):
        m = HEADER_NAME_RE.match(entry)
        if not m:
            continue
        raw[m.group(1).upper()] = read_header(os.path.join(header_dir, entry))
    for name, (declared, counts) in raw.items():
        if not counts and declared:
            counts = borrow(name, declared, raw)
        if counts:
            devices["PIC" + name] = counts
    return devices


def borrow(name, declared, raw):
    candidates = [name + s for s in "ABC"]
    if name.startswith("16C"):
        candidates.append("16CR" + name[3:])
    for other in candidates:
        if other in raw:
            other_declared, other_counts = raw[other]
            if other_counts and set(other_counts) == declared:
                return other_counts
    return {}


def natural_key(name):
    return [int(t) if t.isdigit() else t for t in re.split(r"(\d+)", name)]


def device_line(name, counts):
    entries = ["%s=%d" % (k, counts[k]) for k in PORT_KEYS if k in counts]
    if PBC_RE.match(name[3:]):
        entries.append("PBC")
    return name + ":" + ",".join(entries)


def family(name):
    return re.match(r"PIC(1\d[A-Z]+)", name).group(1)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    header_dir = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/gputils/header"
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "data", "devicedata.ide")

    devices = collect(header_dir)
    for name, counts in devices.items():
        assert ":" not in name and "PBC" not in name, name
        assert all(1 <= n <= 8 for n in counts.values()), (name, counts)

    classic = sorted((n for n in devices if PBC_RE.match(n[3:]) and n != DEFAULT_DEVICE), key=natural_key)
    rest = sorted((n for n in devices if not PBC_RE.match(n[3:]) and n != DEFAULT_DEVICE),
                  key=lambda n: (natural_key(family(n)), natural_key(n)))
    if DEFAULT_DEVICE not in devices or len(classic) < DEFAULT_POSITION:
        sys.exit("cannot place %s at position %d" % (DEFAULT_DEVICE, DEFAULT_POSITION))

    lines = [
        "Pinwright device list, generated by tools/gen_devicedata.py from the gputils headers",
        "Each device line holds the name, a colon, the pin count of each port and the PBC marker",
        "",
        "Classic baseline and mid-range parts",
    ]
    order = []

    def add(name):
        order.append(name)
        lines.append(device_line(name, devices[name]))

    for n in classic[:DEFAULT_POSITION]:
        add(n)
    lines += ["", "Default device of a first start"]
    add(DEFAULT_DEVICE)
    lines += ["", "Classic baseline and mid-range parts continued"]
    for n in classic[DEFAULT_POSITION:]:
        add(n)
    current = None
    for n in rest:
        if family(n) != current:
            current = family(n)
            lines += ["", "PIC" + current + " parts"]
        add(n)

    assert order[DEFAULT_POSITION] == DEFAULT_DEVICE
    assert len(order) == len(set(order))
    # Only device lines may hold a colon, or the IDE would list a heading as a device.
    assert sum(1 for line in lines if ":" in line) == len(order)

    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("%d devices, %d with PBC, position %d is %s"
          % (len(order), sum(1 for n in order if PBC_RE.match(n[3:])), DEFAULT_POSITION, DEFAULT_DEVICE))


if __name__ == "__main__":
    main()
