-- Neovim as a real client of `orvanta-cli lsp`: it receives the diagnostics of a file with
-- planted mistakes at the right lines and byte columns (Neovim converts the protocol's
-- UTF-16 columns back to bytes, so the mistake behind non-ASCII text checks both
-- conversions), and gets a hover. Run with the program's path in ORVANTA_CLI:
--   nvim --headless -u NONE -c 'luafile tests/lsp_neovim.lua'
-- Ends Neovim with status 0 when every check holds, 1 otherwise.
local failures = {}
local function check(condition, message)
  if not condition then table.insert(failures, message) end
end

local function finish()
  for _, message in ipairs(failures) do io.stdout:write('FAIL ' .. message .. '\n') end
  if #failures == 0 then io.stdout:write('PASS neovim\n') end
  vim.cmd(#failures == 0 and 'qall!' or 'cquit! 1')
end

local cli = os.getenv('ORVANTA_CLI')
local dir = vim.fn.tempname()
vim.fn.mkdir(dir, 'p')
local text_line = 'ToggleText;0;0;é😀;1;1'
local lines = {
  'LED;9;9;9;0',
  'tacho;1;2;30;30;0',
  text_line .. ';x',
  'LoadConfig;nxt.txt;5',
}
vim.fn.writefile(lines, dir .. '/config.txt')
vim.fn.writefile({ 'LED;1;1;9;0' }, dir .. '/next.txt')

local id = vim.lsp.start_client({ name = 'orvanta', cmd = { cli, 'lsp' }, root_dir = dir })
check(id ~= nil, 'the client started')
vim.cmd('edit ' .. dir .. '/config.txt')
vim.lsp.buf_attach_client(0, id)
vim.wait(20000, function() return #vim.diagnostic.get(0) >= 3 end, 50)

-- Each planted mistake: its code, 0-based line and byte columns.
local expected = {
  ['unknown-keyword'] = { 1, 0, 5 },
  ['extra-fields'] = { 2, #text_line, #text_line + 2 },
  ['successor-not-found'] = { 3, 11, 18 },
}
local seen = {}
for _, d in ipairs(vim.diagnostic.get(0)) do
  if d.code then seen[d.code] = d end
end
for code, place in pairs(expected) do
  local d = seen[code]
  check(d ~= nil, code .. ' reported')
  if d then
    local got = string.format('%d:%d-%d', d.lnum, d.col, d.end_col)
    local want = string.format('%d:%d-%d', place[1], place[2], place[3])
    check(got == want, code .. ' at ' .. got .. ', expected ' .. want)
  end
end
check(seen['unknown-keyword'] and seen['unknown-keyword'].severity == vim.diagnostic.severity.ERROR,
  'the unknown keyword is an error')

local answers = vim.lsp.buf_request_sync(0, 'textDocument/hover', {
  textDocument = { uri = vim.uri_from_bufnr(0) },
  position = { line = 0, character = 1 },
}, 20000)
local hover = answers and answers[id] and answers[id].result
check(hover ~= nil, 'a hover came back')
if hover then
  check(hover.contents.value:find('**LED**', 1, true) ~= nil, 'the hover names LED: ' .. hover.contents.value)
end

vim.lsp.stop_client(id)
vim.fn.delete(dir, 'rf')
finish()
