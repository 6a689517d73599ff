// ESLint for the page's JavaScript (page.js and page/, ES modules in the
// browser) and for its tests and benchmark (node, driving the browser, whose
// page functions see the browser's globals).
import js from '@eslint/js';
import globals from 'globals';

export default [
    js.configs.recommended,
    {
        files: ['page.js', 'page/**/*.js'],
        languageOptions: {globals: {...globals.browser, createIsland: 'readonly'}},
        rules: {
            'max-lines-per-function': ['error', {max: 60, skipBlankLines: true, skipComments: true}],
            'no-unused-vars': ['error', {caughtErrors: 'none'}],
            eqeqeq: 'error',
            'prefer-const': 'error',
        },
    },
    {
        files: ['tests/**/*.mjs', 'bench/**/*.mjs', 'eslint.config.js'],
        languageOptions: {globals: {...globals.node, ...globals.browser}},
        rules: {eqeqeq: 'error', 'prefer-const': 'error'},
    },
];
