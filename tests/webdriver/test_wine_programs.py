"""Sessions on two of Wine's own programs, which nobody here wrote: notepad
(menu bar, popup menu, an edit) and regedit (a tree and a list view),
started by name through Selenium's client.

Environment: VINTREL_WEBDRIVER_URL (the server).
"""
import time
import unittest
import xml.etree.ElementTree as ET

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from test_elements import start_session


def eventually(probe, seconds=5.0):
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


class Notepad(unittest.TestCase):
    def setUp(self):
        self.driver = start_session("notepad.exe")

    def tearDown(self):
        self.driver.quit()

    def test_menu_edit_and_page_source(self):
        d = self.driver
        root = ET.fromstring(d.page_source)
        self.assertEqual(root.tag, "Window")
        self.assertEqual(root.get("ClassName"), "Notepad")
        menu = [item.get("Name") for item in root.findall("MenuBarItem")]
        self.assertIn("&File", menu)
        self.assertIn("&Edit", menu)

        edit = d.find_element(By.CLASS_NAME, "Edit")
        edit.send_keys("Typed by Selenium")
        self.assertEqual(eventually(lambda: edit.text if "Typed by Selenium" in edit.text else None),
                         "Typed by Selenium")
        # A noncharacter (no XML character) in a Unicode edit: the page source
        # stays well-formed XML and XPath still runs over it.
        edit.send_keys(" odd\uffff")
        eventually(lambda: "\uffff" in edit.text or "odd" in edit.text)
        ET.fromstring(d.page_source)
        self.assertEqual(d.find_element(By.XPATH, "//Window[starts-with(@Name,'Typed by')]"), edit)
        edit.clear()
        self.assertEqual(edit.text, "")

        file_menu = d.find_element(By.XPATH, "//MenuBarItem[@Name='&File']")
        self.assertEqual(file_menu.tag_name, "MenuBarItem")
        file_menu.click()
        d.implicitly_wait(3)
        items = d.find_elements(By.TAG_NAME, "PopupMenuItem")
        d.implicitly_wait(0)
        self.assertTrue(items, "the File menu's items once it is open")
        names = [item.text for item in items]
        self.assertTrue(any("Open" in name for name in names), names)
        ActionChains(d).send_keys(Keys.ESCAPE).perform()
        self.assertTrue(eventually(lambda: not d.find_elements(By.TAG_NAME, "PopupMenuItem")))


class Regedit(unittest.TestCase):
    def setUp(self):
        self.driver = start_session("regedit.exe")

    def tearDown(self):
        self.driver.quit()

    def test_tree_and_list_items(self):
        d = self.driver
        root = ET.fromstring(d.page_source)
        trees = [w for w in root.iter("Window") if w.get("ClassName") == "SysTreeView32"]
        self.assertEqual(len(trees), 1)
        hives = [t.get("Name") for t in trees[0].iter("TreeItem")]
        self.assertIn("HKEY_CURRENT_USER", hives)
        self.assertIn("HKEY_LOCAL_MACHINE", hives)

        user = d.find_element(By.XPATH, "//TreeItem[@Name='HKEY_CURRENT_USER']")
        self.assertEqual(user.tag_name, "TreeItem")
        self.assertTrue(user.is_displayed())
        user.click()
        self.assertTrue(eventually(user.is_selected), "the clicked key is the selected one")
        d.implicitly_wait(3)
        default = d.find_element(By.TAG_NAME, "ListViewItem")
        d.implicitly_wait(0)
        self.assertTrue(default.text, "the selected key's values are list items")


if __name__ == "__main__":
    unittest.main()
