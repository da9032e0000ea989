// Opens web pages written by the real oradel-convert in headless Chromium at a
// phone's width and checks what a pilot relies on: the filter buttons, "+",
// "Все", "Вид", the anchors and Cyrillic text. Run by run-browser-tests.sh,
// which sets ORADEL_CONVERT, ORADEL_BROWSER_OUT, ORADEL_NODE_DEPS and ORADEL_CHROMIUM.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';

const require = createRequire(path.join(process.env.ORADEL_NODE_DEPS, 'package.json'));
const { chromium } = require('playwright-core');

const out = process.env.ORADEL_BROWSER_OUT;
const phone = { width: 390, height: 844 };

// The point list of the page, with the filter words of each name.
const points = [
  {
    headings: ['Кавказ'], name: 'Юца', words: ['Ю', 'ЮЗ'], coordinates: '43.9612 42.9845',
    comments: ['Старт на южном склоне, 300 м над долиной',
               'Сайт клуба: [https://example.org/yutsa|Юца-инфо]'],
  },
  {
    headings: [], name: 'Джуца', words: ['С', 'СВ'], coordinates: '43.9868 42.9702',
    comments: ['Инструктор {+7 (928) 123-45-67|Сергей}'],
  },
  {
    headings: ['Крым'], name: 'Клементьева', words: ['Ю', 'З'], coordinates: '44.9637 35.2331',
    comments: ['Гора Узун-Сырт, ветер с моря'],
  },
  { headings: [], name: 'Поляна', words: [], coordinates: '44.2 42.61', comments: ['Без фильтра'] },
  // Words that are names of the page itself (its classes, the script's "all")
  // filter as every word does.
  {
    headings: [], name: 'Ущелье', words: ['show', 'all', 'active', 'btn', 'filterDiv', 'container'],
    coordinates: '43.5 42.1', comments: ['Слова страницы'],
  },
];
const allNames = points.map((p) => p.name);
const allWords = [...new Set(points.flatMap((p) => p.words))];
const allHeadings = points.flatMap((p) => p.headings);

// Windows-1251, the code page of point lists, for the letters the list uses.
function windows1251(text) {
  const bytes = [];
  for (const character of text) {
    const code = character.codePointAt(0);
    if (code < 0x80) bytes.push(code);
    else if (code >= 0x410 && code <= 0x44f) bytes.push(code - 0x350);
    else if (code === 0x401) bytes.push(0xa8);
    else if (code === 0x451) bytes.push(0xb8);
    else throw new Error(`no Windows-1251 byte for ${character} in this test`);
  }
  return Buffer.from(bytes);
}

function pointList() {
  const lines = [];
  for (const p of points) {
    lines.push(...p.headings.map((h) => `:${h}`));
    lines.push(p.words.length ? `${p.name} <${p.words.join(' ')}>` : p.name);
    lines.push(p.coordinates, ...p.comments, '');
  }
  return windows1251(lines.join('\r\n') + '\r\n');
}

// Writes the list as "Горы.txt" into a fresh folder and converts it with mode 4.
function writePage(variant, settings) {
  const folder = path.join(out, 'pages', variant);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const list = path.join(folder, 'Горы.txt');
  fs.writeFileSync(list, pointList());
  const args = ['--mode', '4', ...settings.flatMap((s) => ['--set', s]), list];
  execFileSync(process.env.ORADEL_CONVERT, args, { stdio: 'inherit' });
  assert.deepEqual(fs.readdirSync(folder).sort(), ['Горы.htm', 'Горы.txt']);
  return path.join(folder, 'Горы.htm');
}

let context;
let profile;
const pages = {};

before(async () => {
  pages.closedBlocks = writePage('closed-blocks', []);
  pages.openBlocks = writePage('open-blocks', ['cRS2=1']);
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'oradel-chromium-'));
  context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.ORADEL_CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: phone,
    deviceScaleFactor: 2,
    isMobile: true,
    hasTouch: true,
  });
});

after(async () => {
  await context?.close();
  if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

// Opens a page, runs `check` on it and fails on any script error it raised.
async function withPage(file, check) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  try {
    await page.goto(pathToFileURL(file).href);
    await check(page);
    assert.deepEqual(errors, [], 'script errors');
  } finally {
    await page.close();
  }
}

const shownPoints = (page) => page.evaluate(() =>
  [...document.querySelectorAll('.filterDiv')]
    .filter((division) => division.checkVisibility())
    .map((division) => division.querySelector('b').textContent));

const activeButtons = (page) => page.evaluate(() =>
  [...document.querySelectorAll('.active')].map((element) => element.textContent));

const blockStates = (page) => page.evaluate(() =>
  [...document.querySelectorAll('details')].map((details) => details.open));

// The text as rendered: without hidden divisions and closed blocks.
const renderedText = (page) => page.evaluate(() => document.body.innerText);

const press = (page, caption) => page.getByRole('button', { name: caption, exact: true }).click();

async function expectHeadingsVisible(page) {
  for (const heading of allHeadings) {
    assert.ok(await page.getByText(heading, { exact: true }).isVisible(), heading);
  }
}

test('on load every point and heading is shown and "Все" is active', async () => {
  await withPage(pages.closedBlocks, async (page) => {
    assert.deepEqual(await shownPoints(page), allNames);
    await expectHeadingsVisible(page);
    assert.deepEqual(await activeButtons(page), ['Все']);
    await page.screenshot({ path: path.join(out, 'web_page_phone.png'), fullPage: true });
  });
});

test('a filter button shows exactly the points tagged with its word', async () => {
  await withPage(pages.closedBlocks, async (page) => {
    const bar = await page.locator('#myBtnContainer button').allTextContents();
    assert.deepEqual(bar, ['Все', 'Вид', '+', ...allWords]);
    for (const word of allWords) {
      await press(page, word);
      const tagged = points.filter((p) => p.words.includes(word)).map((p) => p.name);
      assert.deepEqual(await shownPoints(page), tagged, word);
      assert.deepEqual(await activeButtons(page), [word]);
      await expectHeadingsVisible(page);
    }
  });
});

test('"+" then a second button shows both sets, and "Все" shows every point', async () => {
  await withPage(pages.closedBlocks, async (page) => {
    await press(page, 'С');
    assert.deepEqual(await shownPoints(page), ['Джуца']);
    await press(page, '+');
    assert.deepEqual(await activeButtons(page), ['+']);
    await press(page, 'З');
    assert.deepEqual(await shownPoints(page), ['Джуца', 'Клементьева']);
    assert.deepEqual(await activeButtons(page), ['З']);
    await press(page, 'ЮЗ');  // without "+" the next word replaces the shown set
    assert.deepEqual(await shownPoints(page), ['Юца']);
    await press(page, 'Все');
    assert.deepEqual(await shownPoints(page), allNames);
    assert.deepEqual(await activeButtons(page), ['Все']);
  });
});

test('"Вид" opens every block, and a second press closes them all', async () => {
  await withPage(pages.closedBlocks, async (page) => {
    const closed = allNames.map(() => false);
    const open = allNames.map(() => true);
    assert.deepEqual(await blockStates(page), closed);
    await press(page, 'Вид');
    assert.deepEqual(await blockStates(page), open);
    assert.ok((await renderedText(page)).includes('Старт на южном склоне'));
    await page.screenshot({ path: path.join(out, 'web_page_phone_open.png'), fullPage: true });
    await press(page, 'Вид');
    assert.deepEqual(await blockStates(page), closed);
    assert.ok(!(await renderedText(page)).includes('Старт на южном склоне'));
  });
});

test('with cRS2 the blocks start open and the first "Вид" closes them', async () => {
  await withPage(pages.openBlocks, async (page) => {
    assert.deepEqual(await blockStates(page), allNames.map(() => true));
    await press(page, 'Вид');
    assert.deepEqual(await blockStates(page), allNames.map(() => false));
    await press(page, 'Вид');
    assert.deepEqual(await blockStates(page), allNames.map(() => true));
  });
});

test('link and phone markup become anchors that open a new tab', async () => {
  await withPage(pages.openBlocks, async (page) => {
    const anchor = (caption) => page.getByRole('link', { name: caption, exact: true }).first();
    const expected = [
      ['Юца-инфо', 'https://example.org/yutsa'],
      ['Сергей', 'tel:+79281234567'],
      ['Windy', 'https://www.windy.com/43.9612/42.9845?43.9612,42.9845,14'],
    ];
    for (const [caption, href] of expected) {
      assert.ok(await anchor(caption).isVisible(), caption);
      assert.equal(await anchor(caption).evaluate((a) => a.href), href);
      assert.equal(await anchor(caption).getAttribute('target'), '_blank');
    }
    const targets = await page.locator('a').evaluateAll((all) => all.map((a) => a.target));
    assert.ok(targets.length > 0 && targets.every((target) => target === '_blank'));
  });
});

test('Cyrillic text renders as Cyrillic and the page fits a phone', async () => {
  await withPage(pages.openBlocks, async (page) => {
    assert.equal(await page.evaluate(() => document.characterSet), 'UTF-8');
    assert.equal(await page.title(), 'Горы');
    assert.equal(await page.locator('h3').textContent(), 'Горы');
    const text = await renderedText(page);
    for (const piece of ['Кавказ', 'Клементьева', 'Погода:', 'Приложения:', 'Все']) {
      assert.ok(text.includes(piece), piece);
    }
    assert.ok(!text.includes('\uFFFD') && !/[ÐÑ][\u0080-\u00ff]/.test(text), 'no mojibake');
    const width = await page.evaluate(() => document.documentElement.scrollWidth);
    assert.ok(width <= phone.width, `page is ${width} px wide`);
  });
});

// A file name and filter words written as an attacker would: the name is shown
// as text and runs nothing, and each word's button still shows its point.
test('a hostile file name runs no script and quoted filter words still filter', async () => {
  const folder = path.join(out, 'pages', 'hostile');
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const name = '<img src=x onerror=hacked=1><b>&amp;';  // no "/" in a file name
  const words = ["a'b", 'x"y', 'c<d', '&amp;', '\\'];
  const list = path.join(folder, `${name}.txt`);
  fs.writeFileSync(list, windows1251(`Гора <${words.join(' ')}>\r\n44.2 42.61\r\n\r\nДол\r\n1 2\r\n`));
  execFileSync(process.env.ORADEL_CONVERT, ['--mode', '4', list], { stdio: 'inherit' });
  await withPage(path.join(folder, `${name}.htm`), async (page) => {
    assert.equal(await page.evaluate(() => window.hacked), undefined);
    assert.equal(await page.locator('img, h3 b').count(), 0);
    assert.equal(await page.title(), name);
    assert.equal(await page.locator('h3').textContent(), name);
    for (const word of words) {
      await press(page, word);
      assert.deepEqual(await shownPoints(page), ['Гора'], word);
    }
    await page.screenshot({ path: path.join(out, 'web_page_hostile.png'), fullPage: true });
  });
});
