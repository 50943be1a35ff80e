"""The element side of the WebDriver server, driven by Selenium's own Python
client against the sample application under Wine: the page source, every
find strategy on every kind of item, text, rectangles, attributes, clicks
(checked by what the sample saw), typing into an edit, screenshots, and the
W3C errors.

Environment: VINTREL_WEBDRIVER_URL (the server), VINTREL_BIN_DIR (the build's
bin folder, with VintrelSample.exe and sample_message.exe).
"""
import base64
import os
import struct
import subprocess
import time
import unittest
import xml.etree.ElementTree as ET

from selenium import webdriver
from selenium.common.exceptions import (ElementClickInterceptedException, InvalidArgumentException, InvalidElementStateException,
                                        InvalidSelectorException, NoSuchElementException,
                                        StaleElementReferenceException, WebDriverException)
from selenium.webdriver.common.by import By
from selenium.webdriver.common.options import ArgOptions
from selenium.webdriver.remote.command import Command

URL = os.environ.get("VINTREL_WEBDRIVER_URL", "http://127.0.0.1:4723")
BIN_DIR = os.environ.get("VINTREL_BIN_DIR", os.path.join(os.path.dirname(__file__), "../../build/x64/bin"))
WINE = "/usr/lib/wine/wine64"

# sample/SampleProtocol.h
WM_APP = 0x8000
MSG_REVERSE_ITEMS = WM_APP + 1
MSG_SELECT_ITEM = WM_APP + 3
MSG_SET_ITEM_COUNT = WM_APP + 5
MSG_SCROLL_TOP = WM_APP + 8
MSG_GET_LAST_CLICK = WM_APP + 13
MSG_CLEAR_LAST_CLICK = WM_APP + 14
MSG_DESTROY_CONTROL = WM_APP + 18
CLICK_SOURCE_LIST, CLICK_SOURCE_MENU_BAR = 1, 2
CLICK_LEFT = 1
FRAME_CLASS = "VintrelSampleFrame"
# Two clicks at one place within the double-click time (500 ms by default)
# are a double click: a test's click waits that long after any earlier one.
DOUBLE_CLICK_S = 0.6


def windows_path(path):
    """A Linux path as Wine's Z: drive shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def sample_message(window_class, message, wparam=0, lparam=0):
    """Sends the sample a message from inside Wine; its result."""
    run = subprocess.run([WINE, os.path.join(BIN_DIR, "sample_message.exe"), window_class, str(message),
                          str(wparam), str(lparam)], capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        raise AssertionError(f"sample_message {window_class} {message}: exit {run.returncode}: {run.stderr}")
    return int(run.stdout.strip())


def last_click():
    """(button, source, index) of the last click the sample's frame saw."""
    click = sample_message(FRAME_CLASS, MSG_GET_LAST_CLICK)
    return (click >> 24) & 0xFF, (click >> 16) & 0xFF, click & 0xFFFF


def start_session(app=None, arguments="", top_level_window=None):
    options = ArgOptions()
    options.set_capability("platformName", "windows")
    if app:
        options.set_capability("appium:app", app)
        options.set_capability("appium:appArguments", arguments)
    if top_level_window:
        options.set_capability("appium:appTopLevelWindow", top_level_window)
    return webdriver.Remote(command_executor=URL, options=options)


def png_size(data):
    """Width and height from a PNG's header, after checking its signature."""
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise AssertionError(f"no PNG: {data[:16]!r}")
    return struct.unpack(">II", data[16:24])


def switch_to_title(driver, title):
    for handle in driver.window_handles:
        driver.switch_to.window(handle)
        if driver.title == title:
            return handle
    raise AssertionError(f"no window titled {title!r} among {driver.window_handles}")


class SampleElements(unittest.TestCase):
    """One session on the sample for the whole class (starting it costs seconds)."""

    @classmethod
    def setUpClass(cls):
        cls.driver = start_session(windows_path(os.path.join(BIN_DIR, "VintrelSample.exe")), "--items 60")
        cls.main_handle = cls.driver.current_window_handle

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def setUp(self):
        self.driver.switch_to.window(self.main_handle)
        self.driver.implicitly_wait(0)

    # ---- page source ------------------------------------------------------
    def test_page_source_nests_windows_menu_and_items(self):
        root = ET.fromstring(self.driver.page_source)
        self.assertEqual(root.tag, "Window")
        self.assertEqual(root.get("ClassName"), FRAME_CLASS)
        self.assertIn("Vintrel Sample", root.get("Name"))
        menu = [e.get("Name") for e in root.findall("MenuBarItem")]
        self.assertEqual(menu[:4], ["&File", "&Edit", "&View", "&Help"], menu)
        lists = [w for w in root.iter("Window") if w.get("ClassName") == "SysListView32"]
        self.assertEqual(len(lists), 1)
        self.assertEqual(lists[0].get("AutomationId"), "1001")
        self.assertEqual(lists[0].get("Index"), "0", "a window's Index counts the windows beside it, not the menu")
        items = lists[0].findall("ListViewItem")
        self.assertEqual(len(items), 60)
        self.assertEqual(items[5].get("Name"), "Item 0005")
        self.assertEqual(items[5].get("Index"), "5")
        self.assertEqual([items[i].get("Name") for i in (10, 20, 30)], ["Twin"] * 3)
        for item in items:
            for attribute in ("ClassName", "AutomationId", "NativeWindowHandle", "IsEnabled", "IsSelected",
                              "IsOffscreen", "x", "y", "width", "height", "RuntimeId"):
                self.assertIsNotNone(item.get(attribute), attribute)
        # The first item is in view, the last of 60 is not.
        self.assertEqual(items[0].get("IsOffscreen"), "False")
        self.assertEqual(items[59].get("IsOffscreen"), "True")
        list_x, list_y = int(lists[0].get("x")), int(lists[0].get("y"))
        self.assertGreaterEqual(int(items[0].get("x")), list_x)
        self.assertGreater(int(items[0].get("y")), list_y)
        status = [w for w in root.iter("Window") if w.get("ClassName") == "msctls_statusbar32"][0]
        self.assertEqual([p.get("Name") for p in status.findall("StatusBarPane")], ["Ready", "Items", "Sample"])
        edit = [w for w in root.iter("Window") if w.get("AutomationId") == "1004"][0]
        self.assertEqual(edit.get("ClassName"), "Edit")

    def test_page_source_of_the_items_window_nests_tree_items_by_level(self):
        switch_to_title(self.driver, "Sample Items")
        root = ET.fromstring(self.driver.page_source)
        tree = [w for w in root.iter("Window") if w.get("ClassName") == "SysTreeView32"][0]
        roots = [t.get("Name") for t in tree.findall("TreeItem")]
        self.assertEqual(roots, ["Documents", "Projects", "Archive"])
        documents = tree.findall("TreeItem")[0]
        self.assertEqual([t.get("Name") for t in documents.findall("TreeItem")], ["Reports", "Letters"])
        toolbar = [w for w in root.iter("Window") if w.get("ClassName") == "ToolbarWindow32"][0]
        commands = [b.get("AutomationId") for b in toolbar.findall("ToolbarButton")]
        self.assertIn("1212", commands)
        listbox = [w for w in root.iter("Window") if w.get("AutomationId") == "1203"][0]
        self.assertEqual(len(listbox.findall("ListBoxItem")), 60)
        status = [w for w in root.iter("Window") if w.get("AutomationId") == "1204"][0]
        self.assertEqual([p.get("Name") for p in status.findall("StatusBarPane")],
                         ["Ready", "Line 1", "", "60 entries"])

    # ---- finding: every strategy -------------------------------------------
    def test_list_items_by_every_strategy(self):
        d = self.driver
        by_name = d.find_element(By.NAME, "Item 0007")  # CSS [name="..."]
        self.assertEqual(by_name.tag_name, "ListViewItem")
        self.assertEqual(by_name.text, "Item 0007")
        self.assertEqual(d.find_element("name", "Item 0007"), by_name, "the same item is the same element")
        self.assertEqual(len(d.find_elements(By.XPATH, "//ListViewItem[@Name='Twin']")), 3)
        self.assertEqual(len(d.find_elements(By.TAG_NAME, "ListViewItem")), 60)
        self.assertEqual(len(d.find_elements(By.CLASS_NAME, "ListViewItem")), 60)
        listview = d.find_element(By.ID, "1001")  # CSS [id="..."]
        self.assertEqual(listview.get_dom_attribute("ClassName"), "SysListView32")
        self.assertEqual(d.find_element(By.CLASS_NAME, "SysListView32"), listview)
        self.assertEqual(d.find_element("accessibility id", "1001"), listview)
        under = listview.find_elements("accessibility id", "12")
        self.assertEqual([e.text for e in under], ["Item 0012"], "from an element: its own items only")
        twins = listview.find_elements(By.XPATH, "./ListViewItem[@Name='Twin']")
        self.assertEqual([e.get_dom_attribute("Index") for e in twins], ["10", "20", "30"])
        self.assertEqual(listview.find_element(By.XPATH, "ListViewItem[last()]").text, "Item 0059")

    def test_every_kind_by_every_strategy(self):
        d = self.driver
        # window title, control id (None: the window itself), tag, name
        cases = [
            ("Vintrel Sample \u00c4\u00e9\u00f1", "1001", "ListViewItem", "Item 0007"),
            ("Vintrel Sample \u00c4\u00e9\u00f1", None, "MenuBarItem", "&File"),
            ("Sample Items", "1201", "TreeItem", "Archive"),
            ("Sample Items", "1202", "ToolbarButton", None),
            ("Sample Items", "1203", "ListBoxItem", "Apple pie"),
            ("Sample Items", "1204", "StatusBarPane", "Line 1"),
            ("Vintrel Watch", "1101", "TabItem", "Gamma"),
            ("Vintrel Accessibility", None, "Accessible", "Inner Label"),
        ]
        for title, control_id, tag, name in cases:
            with self.subTest(tag=tag):
                switch_to_title(d, title)
                scope = d.find_element(By.ID, control_id) if control_id else d.find_element(By.XPATH, "/Window")
                if name is None:  # a toolbar button is known by its command
                    item = scope.find_element("accessibility id", "1212")
                    name = item.text
                else:
                    item = d.find_element("name", name)
                self.assertEqual(item.tag_name, tag)
                self.assertEqual(item.text, name)
                automation_id = item.get_dom_attribute("AutomationId")
                self.assertEqual(scope.find_element("accessibility id", automation_id), item)
                self.assertEqual(scope.find_element(By.ID, automation_id), item)
                self.assertEqual(d.find_element(By.NAME, name), item)
                self.assertIn(item, scope.find_elements(By.TAG_NAME, tag))
                self.assertIn(item, scope.find_elements(By.CLASS_NAME, tag))
                self.assertEqual(d.find_element(By.XPATH, f"//{tag}[@Name='{name}']"), item)
                self.assertEqual(scope.find_element(By.XPATH, f".//{tag}[@AutomationId='{automation_id}']"), item)

    def test_css_escapes_and_forms(self):
        d = self.driver
        self.assertEqual(d.find_element(By.CSS_SELECTOR, '[name="Item\\ 0003"]').text, "Item 0003")
        self.assertEqual(d.find_element(By.CSS_SELECTOR, "[name='Item\\20 0004']").text, "Item 0004")
        self.assertEqual(d.find_element(By.CSS_SELECTOR, "#\\31 001").get_dom_attribute("AutomationId"), "1001")
        self.assertEqual(d.find_element(By.CSS_SELECTOR, ".SysListView32").tag_name, "Window")

    def test_tree_toolbar_list_box_and_status_items(self):
        d = self.driver
        switch_to_title(d, "Sample Items")
        archive = d.find_element(By.NAME, "Archive")
        self.assertEqual(archive.tag_name, "TreeItem")
        reports = d.find_elements(By.XPATH, "//TreeItem[@Name='Archive']/TreeItem")
        self.assertEqual([r.text for r in reports], ["Reports"])
        self.assertEqual(len(archive.find_elements(By.TAG_NAME, "TreeItem")), 1, "only the expanded level shows")
        save = d.find_element("accessibility id", "1212")
        self.assertEqual(save.tag_name, "ToolbarButton")
        self.assertEqual(len(d.find_elements(By.CLASS_NAME, "ToolbarButton")), 9)
        pie = d.find_element(By.XPATH, "//ListBoxItem[@Name='Apple pie']")
        self.assertEqual(pie.get_dom_attribute("Index"), "20")
        self.assertEqual(len(d.find_elements(By.NAME, "APPLE")), 1, "names are compared exactly")
        self.assertEqual(d.find_element(By.TAG_NAME, "StatusBarPane").text, "Ready")
        self.assertEqual(d.find_element(By.NAME, "60 entries").get_property("Index"), 3)

    def test_tabs_of_the_watch_window(self):
        d = self.driver
        switch_to_title(d, "Vintrel Watch")
        tabs = d.find_element(By.ID, "1101")
        names = [t.text for t in tabs.find_elements(By.TAG_NAME, "TabItem")]
        self.assertEqual(names, ["Alpha", "Beta", "Twin", "Gamma", "Twin", "ALPHA"])
        beta = tabs.find_element(By.NAME, "Beta")
        self.assertFalse(beta.is_selected())
        beta.click()
        self.assertTrue(self._eventually(beta.is_selected), "the clicked tab is the current one")
        self.assertFalse(tabs.find_element(By.NAME, "Alpha").is_selected())

    def test_accessible_objects(self):
        d = self.driver
        switch_to_title(d, "Vintrel Accessibility")
        ok = d.find_element(By.NAME, "OK")
        self.assertEqual(ok.tag_name, "Accessible")
        # The role text, with the window class the platform names after it.
        self.assertTrue(ok.get_dom_attribute("LocalizedControlType").startswith("push button"))
        level = d.find_element(By.XPATH, "//Accessible[@Name='Level']")
        self.assertEqual(level.get_dom_attribute("Value"), "42")
        cell = d.find_element(By.XPATH, "//Accessible[@Name='Grid']//Accessible[@Name='Cell 1.2.3']")
        self.assertEqual(cell.text, "Cell 1.2.3")
        self.assertEqual(len(d.find_elements(By.XPATH, "//Accessible[@Name='Twin']")), 2)
        rect = ok.rect
        window = d.get_window_rect()
        self.assertTrue(window["x"] <= rect["x"] < window["x"] + window["width"], (rect, window))
        self.assertEqual((rect["width"], rect["height"]), (100, 30))

    def test_menu_bar_and_popup_menu_items(self):
        d = self.driver
        file_menu = d.find_element(By.XPATH, "//MenuBarItem[@Name='&File']")
        sample_message(FRAME_CLASS, MSG_CLEAR_LAST_CLICK)
        file_menu.click()
        self.assertEqual(self._eventually(lambda: last_click()[1]), CLICK_SOURCE_MENU_BAR)
        self.assertEqual(last_click()[2], 0, "the first menu-bar item")
        d.implicitly_wait(3)
        opened = d.find_elements(By.TAG_NAME, "PopupMenuItem")
        self.assertTrue(opened, "the open menu's items are in the page source")
        menu_window = d.find_element(By.CSS_SELECTOR, ".\\#32768")  # the class name, escaped
        self.assertEqual([e.text for e in menu_window.find_elements(By.TAG_NAME, "PopupMenuItem")],
                         [e.text for e in opened])
        self.assertIn(str(40002), [item.get_dom_attribute("AutomationId") for item in opened])
        d.implicitly_wait(0)
        ActionKeys(d).escape()
        self._eventually(lambda: not d.find_elements(By.TAG_NAME, "PopupMenuItem"))
        with self.assertRaises(StaleElementReferenceException):
            opened[0].click()

    # ---- reading elements ----------------------------------------------------
    def test_text_rect_attributes_and_state(self):
        d = self.driver
        item = d.find_element(By.NAME, "Item 0002")
        rect = item.rect
        listview = d.find_element(By.ID, "1001")
        outer = listview.rect
        self.assertTrue(outer["x"] <= rect["x"] and rect["x"] + rect["width"] <= outer["x"] + outer["width"])
        self.assertTrue(outer["y"] < rect["y"] and rect["y"] + rect["height"] <= outer["y"] + outer["height"])
        self.assertEqual(item.get_dom_attribute("Name"), "Item 0002")
        self.assertEqual(item.get_attribute("Name"), "Item 0002", "Selenium's getAttribute script")
        self.assertIsNone(item.get_dom_attribute("NoSuchAttribute"))
        self.assertEqual(item.get_property("IsEnabled"), True)
        self.assertEqual(item.get_property("width"), rect["width"])
        self.assertTrue(item.is_enabled())
        self.assertTrue(item.is_displayed())
        self.assertEqual(listview.get_dom_attribute("NativeWindowHandle")[:2], "0x")
        frame = d.find_element(By.XPATH, "/Window")
        self.assertIn("Vintrel Sample", frame.text)

    def test_click_reaches_the_item_and_selects_it(self):
        d = self.driver
        sample_message(FRAME_CLASS, MSG_SCROLL_TOP)
        item = d.find_element(By.NAME, "Item 0045")  # out of view: found again, scrolled in, clicked
        sample_message(FRAME_CLASS, MSG_CLEAR_LAST_CLICK)
        time.sleep(DOUBLE_CLICK_S)
        item.click()
        click = self._eventually(lambda: last_click() if last_click()[0] else None)
        self.assertEqual(click, (CLICK_LEFT, CLICK_SOURCE_LIST, 45))
        self.assertTrue(item.is_selected())
        self.assertFalse(d.find_element(By.NAME, "Item 0044").is_selected())

    def test_click_on_an_item_under_an_owned_dialog_is_intercepted(self):
        d = self.driver
        item = d.find_element(By.NAME, "Item 0001")
        dialog = switch_to_title(d, "Sample Options")
        home = d.get_window_rect()
        try:
            rect = item.rect
            # The dialog, owned by the frame, stays above it wherever it is.
            d.set_window_rect(x=rect["x"] + rect["width"] // 2 - 50, y=rect["y"] - 40)
            d.switch_to.window(self.main_handle)
            with self.assertRaises(ElementClickInterceptedException) as raised:
                item.click()
            self.assertIn("Sample Options", raised.exception.msg)
        finally:
            d.switch_to.window(dialog)
            d.set_window_rect(x=home["x"], y=home["y"])
            d.switch_to.window(self.main_handle)

    def test_element_found_again_after_a_resort(self):
        d = self.driver
        item = d.find_element(By.NAME, "Item 0003")
        sample_message(FRAME_CLASS, MSG_REVERSE_ITEMS)
        try:
            self.assertEqual(item.get_dom_attribute("Index"), "56")
            sample_message(FRAME_CLASS, MSG_CLEAR_LAST_CLICK)
            time.sleep(DOUBLE_CLICK_S)  # the item may now sit where an earlier test clicked
            item.click()
            self.assertEqual(self._eventually(lambda: last_click() if last_click()[0] else None),
                             (CLICK_LEFT, CLICK_SOURCE_LIST, 56))
        finally:
            sample_message(FRAME_CLASS, MSG_REVERSE_ITEMS)

    def test_keys_and_clear_in_an_edit(self):
        d = self.driver
        edit = d.find_element("accessibility id", "1004")
        self.assertEqual(edit.text, "three levels down")
        edit.clear()
        self.assertEqual(edit.text, "")
        edit.send_keys("typed Text 12")
        self.assertEqual(self._eventually(lambda: edit.text if edit.text == "typed Text 12" else None),
                         "typed Text 12")
        with self.assertRaises(InvalidElementStateException):
            d.find_element(By.NAME, "Item 0001").clear()


    def test_screenshots_are_pngs_of_the_element(self):
        d = self.driver
        item = d.find_element(By.NAME, "Item 0001")
        data = base64.b64decode(item.screenshot_as_base64)
        self.assertEqual(png_size(data), (item.rect["width"], item.rect["height"]))
        listview = d.find_element(By.ID, "1001")
        self.assertEqual(png_size(listview.screenshot_as_png), (listview.rect["width"], listview.rect["height"]))

    # ---- errors --------------------------------------------------------------
    def test_errors(self):
        d = self.driver
        for strategy, value in (("link text", "x"), (By.XPATH, "//ListViewItem["), (By.XPATH, "count(//Window)"),
                                (By.XPATH, "//ListViewItem/@Name"), (By.CSS_SELECTOR, "div > p"),
                                (By.CSS_SELECTOR, '[title="x"]')):
            with self.assertRaises(InvalidSelectorException, msg=f"{strategy} {value}"):
                d.find_element(strategy, value)
        d.implicitly_wait(0.5)
        started = time.monotonic()
        with self.assertRaises(NoSuchElementException):
            d.find_element(By.NAME, "No such item")
        self.assertGreaterEqual(time.monotonic() - started, 0.5, "the implicit wait is honoured")
        self.assertEqual(d.find_elements(By.NAME, "No such item"), [])
        d.implicitly_wait(0)
        with self.assertRaises(NoSuchElementException):
            d.execute(Command.GET_ELEMENT_TEXT, {"id": "not-an-element"})
        with self.assertRaises(InvalidArgumentException):
            d.execute(Command.FIND_ELEMENT, {"value": "Item 0001"})
        with self.assertRaises(WebDriverException) as raised:
            d.execute_script("return document.title")
        self.assertIn("runs no scripts", raised.exception.msg)
        with self.assertRaises(NoSuchElementException):
            d.find_element(By.ID, "1001").find_element(By.NAME, "Ready")  # the status bar is no descendant

    def test_stale_window_element_after_its_window_is_destroyed(self):
        d = self.driver
        trackbar = d.find_element(By.ID, "1006")
        self.assertEqual(trackbar.get_dom_attribute("ClassName"), "msctls_trackbar32")
        subprocess.run([WINE, os.path.join(BIN_DIR, "sample_message.exe"), "--post", FRAME_CLASS,
                        str(MSG_DESTROY_CONTROL), "1006"], check=True, capture_output=True, timeout=60)
        self.assertTrue(self._eventually(lambda: not d.find_elements(By.ID, "1006")))
        with self.assertRaises(StaleElementReferenceException):
            _ = trackbar.rect
        with self.assertRaises(StaleElementReferenceException):
            trackbar.find_elements(By.TAG_NAME, "Window")

    def test_stale_element_after_the_list_shrinks(self):
        d = self.driver
        last = d.find_element(By.NAME, "Item 0059")
        sample_message(FRAME_CLASS, MSG_SET_ITEM_COUNT, 40)
        try:
            with self.assertRaises(StaleElementReferenceException):
                last.click()
            with self.assertRaises(StaleElementReferenceException):
                _ = last.text
        finally:
            sample_message(FRAME_CLASS, MSG_SET_ITEM_COUNT, 60)

    @staticmethod
    def _eventually(probe, seconds=3.0):
        """The first true value of probe within the time, else its last value."""
        deadline = time.monotonic() + seconds
        while True:
            value = probe()
            if value or time.monotonic() > deadline:
                return value
            time.sleep(0.05)


class ActionKeys:
    """A key pressed through the actions endpoint."""

    def __init__(self, driver):
        self.driver = driver

    def escape(self):
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()


if __name__ == "__main__":
    unittest.main()
