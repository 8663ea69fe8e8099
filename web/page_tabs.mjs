// The page's tabs, by the tabs pattern: only the selected tab is in the
// Tab order (roving tabindex); the arrow keys, Home and End move to another
// tab and select it. Tabs are found in the markup, so a tab added there
// takes part without a change here.

const tabsOf = (tablist) => [...tablist.querySelectorAll('[role="tab"]')];

// The index of the tab a key moves to from tab `index` of `count`, the
// arrows going round; -1 for a key that moves nowhere.
export function tabKeyTarget(key, index, count) {
  switch (key) {
    case 'ArrowRight': return (index + 1) % count;
    case 'ArrowLeft': return (index + count - 1) % count;
    case 'Home': return 0;
    case 'End': return count - 1;
    default: return -1;
  }
}

// `tab` selected and its panel shown; the others' hidden.
export function selectTab(tab) {
  for (const other of tabsOf(tab.closest('[role="tablist"]'))) {
    const selected = other === tab;
    other.setAttribute('aria-selected', String(selected));
    other.tabIndex = selected ? 0 : -1;
    document.getElementById(other.getAttribute('aria-controls')).hidden = !selected;
  }
}

export function keyboardTabs(tablist) {
  for (const tab of tabsOf(tablist)) tab.addEventListener('click', () => selectTab(tab));
  tablist.addEventListener('keydown', (event) => {
    const tabs = tabsOf(tablist);
    const to = tabKeyTarget(event.key, tabs.indexOf(event.target), tabs.length);
    if (to < 0 || tabs.indexOf(event.target) < 0) return;
    event.preventDefault();
    selectTab(tabs[to]);
    tabs[to].focus();
  });
}
