#!/usr/bin/python3
"""Drives a running ondrel window from outside through the accessibility bus (AT-SPI), as a
screen reader or a test robot would: types a keyword, presses the search button, waits, and
prints the shown list's first rows (every column, the magnet link too) and the status texts.

usage: drive_window.py KEYWORD [SECONDS]
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def walk(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def find(root, roles, name):
    for node in walk(root):
        if node.get_role_name() in roles and node.get_name() == name:
            return node
    raise SystemExit(f"no {roles[0]} named {name!r} on the bus")


def application(name, seconds=10.0):
    desktop = Atspi.get_desktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    raise SystemExit(f"{name} is not on the accessibility bus")


def main():
    keyword = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 4.0
    app = application("ondrel")
    find(app, ("text",), "关键字").get_editable_text_iface().set_text_contents(keyword)
    find(app, ("push button",), "搜索").get_action_iface().do_action(0)
    time.sleep(seconds)
    # A report list is a tree to the bus, with the table interface: rows of cells.
    table = find(app, ("tree", "tree table", "table"), "搜索结果: 综合搜索").get_table_iface()
    print(f"combined list: {table.get_n_rows()} rows")
    for row in range(min(3, table.get_n_rows())):
        cells = [table.get_accessible_at(row, column).get_name() for column in range(table.get_n_columns())]
        print(" | ".join(cell.replace("\r\n", " / ") for cell in cells))
    for node in walk(app):
        if node.get_role_name() == "label" and (node.get_name() or "").startswith("搜索"):
            print(node.get_name())


if __name__ == "__main__":
    main()
