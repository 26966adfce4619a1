#!/usr/bin/env python3
"""The four conversions in Python, byte for byte as the tool does them, for the benchmark.

Usage: convert.py FORMAT INPUT OUTPUT. Every output line goes to OUTPUT and to standard output.
"""
import sys

BLOCK = 1 << 22


def lines(stream):
    carry = b""
    while True:
        block = stream.read(BLOCK)
        if not block:
            yield carry.split(b"\0", 1)[0]
            return
        parts = (carry + block).split(b"\n")
        carry = parts.pop()
        for line in parts:
            yield line.split(b"\0", 1)[0] if b"\0" in line else line


def key_value(source, sep, swap):
    for line in source:
        p = line.find(sep)
        if p >= 2 and p != len(line) - 1:
            key, value = line[:p], line[p + 1:-1]
            yield value + b"\t" + key if swap else key + b"\t" + value


def ztp(source):
    first = next(source)
    yield b'EVENT MESSAGE="' + first[:-1] + b'"'
    yield from key_value(source, b",", True)


def wtw(source):
    first = None
    for line in source:
        if first is not None:
            yield line[:-1] + b"\t" + first
            first = None
        elif len(line) >= 2:
            first = line[:-1]


def main():
    fmt, input_name, output_name = sys.argv[1:4]
    with open(input_name, "rb") as source, open(output_name, "wb") as output:
        converted = {
            "csv": lambda s: key_value(s, b",", False),
            "typ": lambda s: key_value(s, b":", False),
            "ztp": ztp,
            "wtw": wtw,
        }[fmt](lines(source))
        echo = sys.stdout.buffer
        batch = []
        for line in converted:
            batch.append(line)
            if len(batch) == 65536:
                chunk = b"\r\n".join(batch) + b"\r\n"
                echo.write(chunk)
                output.write(chunk)
                batch = []
        if batch:
            chunk = b"\r\n".join(batch) + b"\r\n"
            echo.write(chunk)
            output.write(chunk)


if __name__ == "__main__":
    main()
